#include "i18n/PassedOverNote.h"

#include "i18n/ExtraTexts.h"

namespace kyvane {

namespace {

// A note stays one readable line even for a folder of thousands of bad names.
constexpr qsizetype kNamesShown = 5;

QString someNames(const QStringList& names)
{
    QString text = names.mid(0, kNamesShown).join(QStringLiteral(", "));
    if (names.size() > kNamesShown)
        text += QStringLiteral(", …");
    return text;
}

} // namespace

QString passedOverNote(const QStringList& folders, const QStringList& files)
{
    QStringList parts;
    if (!folders.isEmpty())
        parts.append(extraText(ExtraText::FoldersPassedOver).arg(someNames(folders)));
    if (!files.isEmpty())
        parts.append(extraText(ExtraText::FilesPassedOver)
                         .arg(QString::number(files.size()), someNames(files)));
    return parts.join(QStringLiteral("; "));
}

} // namespace kyvane
