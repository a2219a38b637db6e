#include "ui/widgets/QueueRow.h"

#include "ui/Icons.h"
#include "ui/QueueRowRules.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QStyle>
#include <QVBoxLayout>

namespace kyvane {

QueueRow::QueueRow(const QString& jobName, int entryCount, QWidget* parent)
    : QFrame(parent), m_tagString(QueueRowRules::rowName(jobName)), m_check(new QCheckBox(this)),
      m_title(new QLabel(this)), m_state(new QLabel(this)), m_text(new QLabel(this)),
      m_doneMark(new QLabel(this))
{
    setObjectName(QueueRowRules::rowName(jobName));
    setFixedHeight(kHeight);
    setProperty("kyvaneState", QStringLiteral("running"));

    m_title->setObjectName(QStringLiteral("rowTitle"));
    m_title->setTextFormat(Qt::PlainText);
    m_title->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    m_state->setObjectName(QStringLiteral("rowState"));
    m_state->setTextFormat(Qt::PlainText);
    m_state->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

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

    auto* heading = new QHBoxLayout;
    heading->setContentsMargins(0, 0, 0, 0);
    heading->setSpacing(6);
    heading->addWidget(m_title, 1);
    heading->addWidget(m_state);
    auto* texts = new QVBoxLayout;
    texts->setContentsMargins(0, 0, 0, 0);
    texts->setSpacing(2);
    texts->addLayout(heading);
    texts->addWidget(m_text, 1);

    auto* top = new QHBoxLayout;
    top->setContentsMargins(8, 6, 8, 2);
    top->setSpacing(8);
    top->addWidget(m_check, 0, Qt::AlignTop);
    top->addLayout(texts, 1);
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
    // The row text keeps its CR LF line breaks; the label shows plain ones,
    // without the empty line, to leave room for the title.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n\r\n"), QStringLiteral("\n"));
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_text->setText(shown);
}

QString QueueRow::title() const
{
    return m_title->text();
}

void QueueRow::setTitle(const QString& title)
{
    m_title->setText(title);
    // The row's check box is named for its job, for a screen reader.
    m_check->setAccessibleName(title);
}

void QueueRow::setRunState(RunState state, const QString& text)
{
    m_runState = state;
    m_state->setText(text);
    static const char* const names[] = {"running", "finished", "failed", "stopped"};
    setProperty("kyvaneState", QString::fromLatin1(names[int(state)]));
    // A dynamic property picks its style sheet rules only when polished anew.
    for (QWidget* part : {static_cast<QWidget*>(this), static_cast<QWidget*>(m_state),
                          static_cast<QWidget*>(m_title)}) {
        style()->unpolish(part);
        style()->polish(part);
    }
}

QString QueueRow::stateText() const
{
    return m_state->text();
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
