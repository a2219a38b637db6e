// The settings screens: the settings list, the server editor, the general
// settings, and the lists of backup folders and file extensions. Their rows
// and commands come with the settings screens' own work; here they get their
// controls.

#include "ui/ClickableLabel.h"
#include "ui/MainWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace kyvane {

namespace {

QListWidget* settingsList(QWidget* page, const QString& name)
{
    auto* list = new QListWidget(page);
    list->setObjectName(name);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return list;
}

QPushButton* commandButton(QWidget* page, const QString& name)
{
    auto* button = new QPushButton(page);
    button->setObjectName(name);
    return button;
}

// A list over a row of two buttons, Add and Delete.
void listOverButtons(QWidget* page, QListWidget* list, QPushButton* add, QPushButton* del)
{
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(10, 8, 10, 10);
    buttons->setSpacing(10);
    buttons->addWidget(add, 1);
    buttons->addWidget(del, 1);
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(list, 1);
    column->addLayout(buttons);
}

} // namespace

void TForm1::buildSettingsListPage(QWidget* page)
{
    ListBox3 = settingsList(page, QStringLiteral("ListBox3"));
    Button8 = commandButton(page, QStringLiteral("Button8"));
    Button8->hide();
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(ListBox3);
}

void TForm1::buildServerEditorPage(QWidget* page)
{
    VertScrollBox2 = new QScrollArea(page);
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

    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(VertScrollBox2);
}

void TForm1::buildGeneralSettingsPage(QWidget* page)
{
    ListBox4 = settingsList(page, QStringLiteral("ListBox4"));
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(ListBox4);
}

void TForm1::buildBackupFoldersPage(QWidget* page)
{
    ListBox5 = settingsList(page, QStringLiteral("ListBox5"));
    btnAddFolder = commandButton(page, QStringLiteral("btnAddFolder"));
    btnDelFolder = commandButton(page, QStringLiteral("btnDelFolder"));
    listOverButtons(page, ListBox5, btnAddFolder, btnDelFolder);
}

void TForm1::buildFileExtensionsPage(QWidget* page)
{
    ListBox6 = settingsList(page, QStringLiteral("ListBox6"));
    btnAddExt = commandButton(page, QStringLiteral("btnAddExt"));
    btnDelExt = commandButton(page, QStringLiteral("btnDelExt"));
    listOverButtons(page, ListBox6, btnAddExt, btnDelExt);
}

} // namespace kyvane
