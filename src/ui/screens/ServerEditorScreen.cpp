#include "ui/screens/ServerEditorScreen.h"

#include "core/AppLists.h"
#include "i18n/ExtraTexts.h"
#include "i18n/LanguageRes.h"
#include "transfer/ServerEntry.h"
#include "ui/MessageBox.h"
#include "ui/ScreenHost.h"
#include "ui/ScreenIndex.h"
#include "ui/widgets/ClickableLabel.h"
#include "ui/widgets/SettingsParts.h"

#include <QKeyEvent>
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

    // Each field is named by its label, for a screen reader.
    Label8->setBuddy(edtServer);
    Label9->setBuddy(edtPort);
    Label10->setBuddy(edtAccount);
    Label11->setBuddy(edtPassword);

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

    connect(btnOK, &QPushButton::clicked, this, &ServerEditorScreen::btnOKClick);
    connect(Label12, &ClickableLabel::clicked, this, &ServerEditorScreen::Label12Click);
    edtAccount->installEventFilter(this);
}

bool ServerEditorScreen::open(int tag)
{
    const QStringList& servers = m_host.appLists().servers;
    if (tag == row::AddServerTag) {
        for (QLineEdit* edit : {edtServer, edtPort, edtAccount, edtPassword})
            edit->clear();
        Label12->hide();
        // A new server needs its password: there is none to keep.
        lbleavepwempty->hide();
    } else if (tag >= 0 && tag < servers.size()) {
        const ServerEntry::Fields fields = ServerEntry::editorFields(servers.at(tag));
        edtServer->setText(fields.server);
        edtPort->setText(fields.port);
        edtAccount->setText(fields.account);
        // A stored password is never shown.
        edtPassword->clear();
        Label12->show();
        lbleavepwempty->show();
    } else {
        return false;
    }
    m_tag = tag;
    return true;
}

void ServerEditorScreen::btnOKClick()
{
    m_host.setNavMarker(0);
    QStringList servers = m_host.appLists().servers;
    // The two messages about empty fields are fixed English texts.
    if (m_tag == row::AddServerTag) {
        const auto entry = ServerEntry::added(edtServer->text(), edtPort->text(),
                                              edtAccount->text(), edtPassword->text());
        if (!entry) {
            MessageBox::inform(window(),
                               QStringLiteral("Server/Port/Account/Password can not be empty"));
            return;
        }
        servers.append(*entry);
    } else if (m_tag >= 0 && m_tag < servers.size()) {
        const auto entry =
            ServerEntry::edited(servers.at(m_tag), edtServer->text(), edtPort->text(),
                                edtAccount->text(), edtPassword->text());
        if (!entry) {
            MessageBox::inform(window(), QStringLiteral("Server/Port/Account can not be empty"));
            return;
        }
        servers[m_tag] = *entry;
    } else {
        return;
    }
    if (!fieldsStorable())
        return;
    storeAndLeave(servers);
}

bool ServerEditorScreen::fieldsStorable()
{
    // Typed or pasted, a field that would shift the fields of its line in
    // server.cfg and of every job written for it is refused.
    switch (ServerEntry::fieldProblem(edtServer->text(), edtPort->text(), edtAccount->text())) {
    case ServerEntry::FieldProblem::None:
        return true;
    case ServerEntry::FieldProblem::Server:
        MessageBox::inform(window(), extraText(ExtraText::ServerFieldInvalid));
        break;
    case ServerEntry::FieldProblem::Port:
        MessageBox::inform(window(), extraText(ExtraText::PortFieldInvalid));
        break;
    case ServerEntry::FieldProblem::Account:
        MessageBox::inform(window(), extraText(ExtraText::AccountFieldInvalid));
        break;
    }
    return false;
}

void ServerEditorScreen::Label12Click()
{
    QStringList servers = m_host.appLists().servers;
    if (m_tag < 0 || m_tag >= servers.size())
        return;
    if (!MessageBox::askYesNo(window(), langText(31)))
        return; // the editor stays open as it is
    servers.removeAt(m_tag);
    m_host.setNavMarker(0);
    storeAndLeave(servers);
}

void ServerEditorScreen::storeAndLeave(const QStringList& servers)
{
    // Unsaved, the editor stays open with what was typed, and the list
    // stays as stored.
    if (!settingsSaved(window(), AppLists::kServerFile, m_host.appLists().storeServers(servers)))
        return;
    m_host.prepareSettings();
    m_host.ChangeTab(screen::SettingsList);
}

bool ServerEditorScreen::edtAccountKeyDown(const QString& KeyChar)
{
    return !ServerEntry::acceptedInAccount(KeyChar);
}

bool ServerEditorScreen::eventFilter(QObject* watched, QEvent* event)
{
    // Only typed keys are filtered; pasted text is taken as it is.
    if (watched == edtAccount && event->type() == QEvent::KeyPress)
        return edtAccountKeyDown(static_cast<QKeyEvent*>(event)->text());
    return QWidget::eventFilter(watched, event);
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
