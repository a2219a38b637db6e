#include "ui/widgets/SideMenu.h"

#include <QFrame>
#include <QMouseEvent>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QVBoxLayout>

namespace kyvane {

SideMenu::SideMenu(QWidget* parent)
    : QWidget(parent), m_panel(new QFrame(this)), m_buttons(new QVBoxLayout(m_panel)),
      m_slide(new QPropertyAnimation(m_panel, "pos", this))
{
    // The dimmed part is drawn from the style sheet.
    setAttribute(Qt::WA_StyledBackground);
    m_panel->setObjectName(QStringLiteral("drawerPanel"));
    m_buttons->setContentsMargins(0, 0, 0, 0);
    m_buttons->setSpacing(0);
    m_buttons->addStretch(1);
    m_slide->setDuration(kSlideMilliseconds);
    m_slide->setEasingCurve(QEasingCurve::OutCubic);
    hide();
}

void SideMenu::addButton(QPushButton* button)
{
    button->setFixedHeight(48);
    button->setIconSize(QSize(24, 24));
    m_buttons->insertWidget(m_buttons->count() - 1, button);
}

QRect SideMenu::panelGeometry() const
{
    return QRect(width() - kPanelWidth, 0, kPanelWidth, height());
}

void SideMenu::openDrawer()
{
    m_slide->stop();
    m_open = true;
    show();
    raise();
    const QRect target = panelGeometry();
    m_panel->setGeometry(target);
    if (!isVisible())
        return;
    m_slide->setStartValue(QPoint(width(), 0));
    m_slide->setEndValue(target.topLeft());
    m_panel->move(width(), 0);
    m_slide->start();
}

void SideMenu::closeDrawer()
{
    m_slide->stop();
    const bool wasOpen = m_open;
    m_open = false;
    hide();
    if (wasOpen)
        emit hidden();
}

void SideMenu::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    if (!m_panel->geometry().contains(event->position().toPoint()))
        closeDrawer();
}

void SideMenu::resizeEvent(QResizeEvent* event)
{
    m_slide->stop();
    m_panel->setGeometry(panelGeometry());
    QWidget::resizeEvent(event);
}

} // namespace kyvane
