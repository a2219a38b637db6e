#include "ui/screens/HistoryScreen.h"

#include "core/JobRecords.h"
#include "core/OutcomeStore.h"
#include "i18n/ExtraTexts.h"
#include "ui/JobTexts.h"
#include "ui/ScreenHost.h"
#include "ui/widgets/OutcomeListView.h"

#include <QGridLayout>
#include <QLabel>

namespace kyvane {

HistoryScreen::HistoryScreen(ScreenHost& host, QWidget* parent) : QWidget(parent), m_host(host)
{
    lvHistory = new OutcomeListView(this);
    lvHistory->setObjectName(QStringLiteral("lvHistory"));
    lblHistoryEmpty = new QLabel(this);
    lblHistoryEmpty->setObjectName(QStringLiteral("lblHistoryEmpty"));
    lblHistoryEmpty->setAlignment(Qt::AlignCenter);
    lblHistoryEmpty->setWordWrap(true);
    lblHistoryEmpty->hide();

    auto* area = new QGridLayout(this);
    area->setContentsMargins(0, 0, 0, 0);
    area->addWidget(lvHistory, 0, 0);
    area->addWidget(lblHistoryEmpty, 0, 0, Qt::AlignHCenter | Qt::AlignTop);

    connect(lvHistory, &OutcomeListView::rowClicked, this,
            [this](int row) { m_host.openJobDetails(QString(), lvHistory->rowKey(row)); });
}

void HistoryScreen::refresh()
{
    lvHistory->clearRows();
    const QDateTime now = QDateTime::currentDateTime();
    const QList<JobRecord> jobs = JobRecords(OutcomeStore::shared()).history();
    for (const JobRecord& job : jobs) {
        const QString finished =
            extraText(ExtraText::RowFinished)
                .arg(JobTexts::momentText(QDateTime::fromMSecsSinceEpoch(*job.finishedMs), now));
        lvHistory->addRow(JobTexts::jobTitle(job, now),
                          finished + QStringLiteral(" · ") + JobTexts::settledText(job.counts),
                          job.counts.problems() > 0 ? OutcomeListView::Tone::Problem
                                                    : OutcomeListView::Tone::Done,
                          job.id);
    }
    lblHistoryEmpty->setText(extraText(ExtraText::HistoryEmpty));
    lblHistoryEmpty->setVisible(jobs.isEmpty());
}

} // namespace kyvane
