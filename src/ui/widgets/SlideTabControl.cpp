#include "ui/widgets/SlideTabControl.h"

#include <QParallelAnimationGroup>
#include <QPropertyAnimation>

#include <utility>

namespace kyvane {

SlideTabControl::SlideTabControl(QWidget* parent) : QWidget(parent) {}

int SlideTabControl::addPage(QWidget* page)
{
    page->setParent(this);
    page->setGeometry(rect());
    m_pages.append(page);
    if (m_current < 0) {
        m_current = 0;
        page->show();
    } else {
        page->hide();
    }
    return count() - 1;
}

QWidget* SlideTabControl::page(int index) const
{
    return index >= 0 && index < count() ? m_pages.at(index) : nullptr;
}

void SlideTabControl::setCurrentIndex(int index)
{
    if (index < 0 || index >= count() || index == m_current)
        return;
    finishSlide();

    QWidget* leaving = currentPage();
    QWidget* coming = m_pages.at(index);
    m_current = index;
    coming->setGeometry(rect());

    if (!leaving || !isVisible() || width() <= 0) {
        if (leaving)
            leaving->hide();
        coming->show();
        emit currentChanged(index);
        return;
    }

    m_leaving = leaving;
    coming->move(width(), 0);
    coming->show();
    coming->raise();

    auto* in = new QPropertyAnimation(coming, "pos");
    in->setStartValue(QPoint(width(), 0));
    in->setEndValue(QPoint(0, 0));
    auto* out = new QPropertyAnimation(leaving, "pos");
    out->setStartValue(QPoint(0, 0));
    out->setEndValue(QPoint(-width(), 0));
    for (QPropertyAnimation* animation : {in, out}) {
        animation->setDuration(kSlideMilliseconds);
        animation->setEasingCurve(QEasingCurve::OutCubic);
    }
    m_slide = new QParallelAnimationGroup(this);
    m_slide->addAnimation(in);
    m_slide->addAnimation(out);
    connect(m_slide, &QAbstractAnimation::finished, this, &SlideTabControl::finishSlide);
    m_slide->start();
    emit currentChanged(index);
}

void SlideTabControl::finishSlide()
{
    if (!m_slide)
        return;
    QParallelAnimationGroup* slide = std::exchange(m_slide, nullptr);
    slide->stop();
    // This may run inside the group's own finished signal.
    slide->deleteLater();
    if (QWidget* leaving = std::exchange(m_leaving, nullptr); leaving && leaving != currentPage()) {
        leaving->hide();
        leaving->move(0, 0);
    }
    if (QWidget* current = currentPage())
        current->move(0, 0);
}

void SlideTabControl::resizeEvent(QResizeEvent* event)
{
    finishSlide();
    for (QWidget* page : std::as_const(m_pages))
        page->setGeometry(rect());
    QWidget::resizeEvent(event);
}

} // namespace kyvane
