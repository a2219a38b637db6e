#pragma once

#include <QWidget>

class QPropertyAnimation;
class QPushButton;
class QVBoxLayout;

namespace kyvane {

// A drawer that slides in from the right edge over the screen. It covers its
// parent: the panel of buttons lies at the right, the rest dims the screen
// and closes the drawer when tapped. Whether it is open changes at once; the
// slide is only for the eye.
class SideMenu final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kPanelWidth = 182;
    static constexpr int kSlideMilliseconds = 200;

    explicit SideMenu(QWidget* parent = nullptr);

    // Adds a button below the ones already there.
    void addButton(QPushButton* button);

    QWidget* panel() const { return m_panel; }
    bool isOpen() const { return m_open; }

    // Shows the drawer and slides the panel in.
    void openDrawer();

    // Hides the drawer at once. If it was open, hidden() follows.
    void closeDrawer();

signals:
    // The drawer has closed, by any means.
    void hidden();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QRect panelGeometry() const;

    QWidget* m_panel;
    QVBoxLayout* m_buttons;
    QPropertyAnimation* m_slide;
    bool m_open = false;
};

} // namespace kyvane
