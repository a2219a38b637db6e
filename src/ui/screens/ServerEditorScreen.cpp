#include "ui/screens/ServerEditorScreen.h"

#include "i18n/LanguageRes.h"
#include "ui/ScreenHost.h"
#include "ui/widgets/ClickableLabel.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <utility>

namespace kyvane {

ServerEditorScreen::ServerEditorScreen(ScreenHost& host, QWidget* parent)
    : QWidget(parent), m_host(host)
{
    VertScrollBox2 = new QScrollArea(this);
    VertScrollBox2->setObjectName(QStringLiteral("VertScrollBox2"));
    VertScrollBox2->setFrameShape(QFrame::NoFrame);
    VertScrollBox2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    VertScrollBox2->setWidgetResizable(true);

    Layout1 = new QWidget;
    Layout1->setObjectName(QStringLiteral("Layout1"));
    auto label = [this](const QString& name) {
        auto* l = new QLabel(Layout1);
        l->setObjectName(name);
        return l;
    };
    auto edit = [this](const QString& name) {
        auto* e = new QLineEdit(Layout1);
        e->setObjectName(name);
        return e;
    };
    Label8 = label(QStringLiteral("Label8"));
    edtServer = edit(QStringLiteral("edtServer"));
    Label9 = label(QStringLiteral("Label9"));
    edtPort = edit(QStringLiteral("edtPort"));
    edtPort->setInputMethodHints(Qt::ImhDigitsOnly);
    Label10 = label(QStringLiteral("Label10"));
    edtAccount = edit(QStringLiteral("edtAccount"));
    Label11 = label(QStringLiteral("Label11"));
    edtPassword = edit(QStringLiteral("edtPassword"));
    edtPassword->setEchoMode(QLineEdit::Password);
    lbleavepwempty = label(QStringLiteral("lbleavepwempty"));
    lbleavepwempty->setWordWrap(true);
    btnOK = new QPushButton(Layout1);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    Label12 = new ClickableLabel(Layout1);
    Label12->setObjectName(QStringLiteral("Label12"));
    Label12->setAlignment(Qt::AlignCenter);

    auto* fields = new QVBoxLayout(Layout1);
    fields->setContentsMargins(14, 10, 14, 14);
    fields->setSpacing(4);
    for (QWidget* w :
         std::initializer_list<QWidget*>{Label8, edtServer, Label9, edtPort, Label10, edtAccount,
                                         Label11, edtPassword, lbleavepwempty})
        fields->addWidget(w);
    fields->addSpacing(10);
    fields->addWidget(btnOK);
    fields->addStretch(1);
    fields->addWidget(Label12);
    VertScrollBox2->setWidget(Layout1);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(VertScrollBox2);
    // Opening, saving and deleting a server come with the settings screens'
    // own work.
}

QRectF ServerEditorScreen::unscrolledRect(const QWidget* field) const
{
    QRectF area(field->mapTo(window(), QPointF(0, 0)), field->size());
    area.translate(0, VertScrollBox2->verticalScrollBar()->value());
    return area;
}

bool ServerEditorScreen::keyboardCovers(const QWidget* field, const QRectF& keyboard) const
{
    if (!field)
        return false;
    const QRectF area = unscrolledRect(field);
    return area.intersects(keyboard) && area.bottom() > keyboard.top();
}

void ServerEditorScreen::scrollAboveKeyboard(const QWidget* field, const QRectF& keyboard)
{
    const QRectF area = unscrolledRect(field);
    // The content keeps its height instead of following the area's, and
    // grows so that it can be scrolled far enough.
    VertScrollBox2->setWidgetResizable(false);
    QRectF content(QPointF(0, 0), QSizeF(VertScrollBox2->viewport()->width(), Layout1->height()));
    if (calcContentBounds)
        calcContentBounds(content);
    Layout1->resize(content.size().toSize());
    VertScrollBox2->verticalScrollBar()->setValue(static_cast<int>(area.bottom() - keyboard.top()));
}

void ServerEditorScreen::resetKeyboardOffset()
{
    VertScrollBox2->verticalScrollBar()->setValue(0);
    VertScrollBox2->setWidgetResizable(true);
}

void ServerEditorScreen::applyLanguage()
{
    const std::pair<QLabel*, int> labels[] = {
        {Label8, 15},  {Label9, 16},         {Label10, 17},
        {Label11, 18}, {lbleavepwempty, 32}, {Label12, 19},
    };
    for (const auto& [label, key] : labels)
        label->setText(langText(key));
    btnOK->setText(langText(20));
}

} // namespace kyvane
