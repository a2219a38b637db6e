#include "ui/dialogs/TfrmChooseFolder.h"

#include "core/PicturesFolder.h"
#include "selection/FolderListing.h"
#include "ui/Icons.h"
#include "ui/MessageBox.h"
#include "ui/widgets/RowDelegate.h"
#include "ui/widgets/SettingsParts.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace kyvane {

namespace {

constexpr int kRowHeight = 40;
constexpr int kListHeight = 330;

} // namespace

TfrmChooseFolder::TfrmChooseFolder(QWidget* window)
    : DialogBase(window, QStringLiteral("Choose folder"), QStringLiteral("Button1"),
                 QStringLiteral("Button2"))
{
    m_folderIcon = Icons::icon(QStringLiteral("folder"));
    Button3 = new QToolButton(this);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button3->setIcon(Icons::icon(QStringLiteral("back-dark")));
    Button3->setIconSize(QSize(24, 24));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setReadOnly(true);
    Button4 = new QPushButton(QStringLiteral(">"), this);
    Button4->setObjectName(QStringLiteral("Button4"));
    Button4->hide();
    auto* bar = new QHBoxLayout;
    bar->setSpacing(4);
    bar->addWidget(Button3);
    bar->addWidget(Edit1, 1);
    bar->addWidget(Button4);

    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListBox1->setIconSize(QSize(24, 24));
    ListBox1->setMinimumHeight(kListHeight);
    ListBox1->setItemDelegate(new RowDelegate(RowDelegate::DetailBelow, ListBox1));

    content()->addLayout(bar);
    content()->addWidget(ListBox1, 1);

    connect(ListBox1, &QListWidget::itemClicked, this, &TfrmChooseFolder::ListBox1ItemClick);
    connect(Button3, &QToolButton::clicked, this, &TfrmChooseFolder::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TfrmChooseFolder::Button4Click);
}

void TfrmChooseFolder::FormShow()
{
    TotalWork2(sharedPicturesFolder());
}

QString TfrmChooseFolder::okValue() const
{
    return Edit1->text();
}

void TfrmChooseFolder::TotalWork2(const QString& path_tr)
{
    Edit1->setText(path_tr);
    // Sub-folders only, hidden ones too, in case-blind order; the files of a
    // big folder are not even looked at.
    AddListItem(readSubFolders(folderWithSeparator(path_tr)));
}

void TfrmChooseFolder::AddListItem(const QStringList& list)
{
    ListBox1->setUpdatesEnabled(false);
    ListBox1->clear();
    for (const QString& path : list) {
        auto* item = new QListWidgetItem(m_folderIcon, QFileInfo(path).fileName(), ListBox1);
        item->setData(row::Detail, path);
        item->setData(row::Tag, 0);
        item->setData(row::TagString, path);
        item->setSizeHint(QSize(0, kRowHeight));
    }
    ListBox1->setUpdatesEnabled(true);
}

void TfrmChooseFolder::ListBox1ItemClick(QListWidgetItem* item)
{
    if (!item)
        return;
    const QString path = item->data(row::Detail).toString();
    if (QFileInfo(path).isDir())
        TotalWork2(path);
    else
        delete ListBox1->takeItem(ListBox1->row(item));
}

void TfrmChooseFolder::Button3Click()
{
    // A path without any "/" has no level above; it is listed again.
    TotalWork2(parentFolder(Edit1->text()));
}

void TfrmChooseFolder::Button4Click()
{
    if (QFileInfo(Edit1->text()).isDir())
        TotalWork2(Edit1->text());
    else
        MessageBox::inform(window(), QStringLiteral("Path not found"));
}

} // namespace kyvane
