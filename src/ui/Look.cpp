#include "ui/Look.h"

#include <QFile>
#include <QFont>
#include <QStringList>

namespace kyvane {

QString Look::styleSheet()
{
    QFile sheet(QStringLiteral(":/style/kyvane.qss"));
    if (!sheet.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(sheet.readAll());
}

void Look::installFontFallbacks()
{
    // Substitutes are only used when the named face itself is missing.
    QFont::removeSubstitutions(QStringLiteral("Baskerville Old Face"));
    QFont::insertSubstitutions(QStringLiteral("Baskerville Old Face"),
                               {QStringLiteral("DejaVu Serif"), QStringLiteral("Noto Serif"),
                                QStringLiteral("Liberation Serif"), QStringLiteral("serif")});
    QFont::removeSubstitutions(QStringLiteral("Roboto"));
    QFont::insertSubstitutions(QStringLiteral("Roboto"),
                               {QStringLiteral("Noto Sans"), QStringLiteral("DejaVu Sans"),
                                QStringLiteral("Liberation Sans"), QStringLiteral("sans-serif")});
}

} // namespace kyvane
