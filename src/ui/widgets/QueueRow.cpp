#include "ui/widgets/QueueRow.h"

#include "ui/Icons.h"
#include "ui/QueueRowRules.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QVBoxLayout>

namespace kyvane {

QueueRow::QueueRow(const QString& jobName, int entryCount, QWidget* parent)
    : QFrame(parent), m_tagString(QueueRowRules::rowName(jobName)), m_check(new QCheckBox(this)),
      m_text(new QLabel(this)), m_doneMark(new QLabel(this))
{
    setObjectName(QueueRowRules::rowName(jobName));
    setFixedHeight(kHeight);

    m_text->setObjectName(QStringLiteral("rowText"));
    m_text->setWordWrap(true);
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_text->setTextFormat(Qt::PlainText);
    m_text->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Expanding);

    m_doneMark->setPixmap(
        Icons::pixmap(QStringLiteral("done"), QSize(20, 20), devicePixelRatioF()));
    m_doneMark->setFixedSize(20, 20);
    m_doneMark->hide();

    auto* fileCountBar = new QProgressBar(this);
    fileCountBar->setObjectName(QueueRowRules::fileCountBarName(jobName));
    fileCountBar->setProperty("kyvaneRole", QStringLiteral("fileCount"));
    fileCountBar->setTextVisible(false);
    fileCountBar->setFixedHeight(kFileCountBarHeight);
    fileCountBar->setRange(0, entryCount);
    fileCountBar->setValue(1);

    auto* countLabel = new QLabel(fileCountBar);
    countLabel->setObjectName(QueueRowRules::countLabelName(jobName));
    countLabel->setProperty("kyvaneRole", QStringLiteral("count"));
    countLabel->setAlignment(Qt::AlignCenter);
    countLabel->setWordWrap(true);
    auto* overBar = new QHBoxLayout(fileCountBar);
    overBar->setContentsMargins(0, 0, 0, 0);
    overBar->addWidget(countLabel);

    auto* entryBar = new QProgressBar(this);
    entryBar->setObjectName(QueueRowRules::entryBarName(jobName));
    entryBar->setProperty("kyvaneRole", QStringLiteral("entry"));
    entryBar->setTextVisible(false);
    entryBar->setFixedHeight(kEntryBarHeight);
    entryBar->setRange(0, 100);
    entryBar->setValue(0);

    auto* top = new QHBoxLayout;
    top->setContentsMargins(8, 8, 8, 4);
    top->setSpacing(8);
    top->addWidget(m_check, 0, Qt::AlignTop);
    top->addWidget(m_text, 1);
    top->addWidget(m_doneMark, 0, Qt::AlignTop);

    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(0);
    rows->addLayout(top, 1);
    rows->addWidget(fileCountBar);
    rows->addWidget(entryBar);
}

void QueueRow::setFinishedMark(int mark)
{
    m_finishedMark = mark;
    m_doneMark->setVisible(mark == QueueRowRules::kFinished);
}

void QueueRow::setText(const QString& text)
{
    // Reports repeat the same text for every chunk; the label only relays
    // out when the text really changes.
    if (text == m_rowText)
        return;
    m_rowText = text;
    // The row text keeps its CR LF line breaks; the label shows plain ones.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_text->setText(shown);
}

bool QueueRow::isChecked() const
{
    return m_check->isChecked();
}

void QueueRow::setChecked(bool checked)
{
    m_check->setChecked(checked);
}

void QueueRow::mousePressEvent(QMouseEvent* event)
{
    m_tap.press(event);
}

void QueueRow::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_tap.release(event, rect()))
        emit clicked();
}

} // namespace kyvane
