#pragma once

#include <QList>
#include <QWidget>

class QParallelAnimationGroup;

namespace kyvane {

// A page control without visible tabs. A switch takes effect at once (the
// current index and the shown page change before setCurrentIndex returns);
// the new page then slides in from the right while the old one slides out,
// which is only for the eye.
class SlideTabControl final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kSlideMilliseconds = 200;

    explicit SlideTabControl(QWidget* parent = nullptr);

    // Takes ownership; the first page added is the current one.
    int addPage(QWidget* page);

    int count() const { return static_cast<int>(m_pages.size()); }
    QWidget* page(int index) const;
    int currentIndex() const { return m_current; }
    QWidget* currentPage() const { return page(m_current); }

    // An index out of range, or the current one, changes nothing.
    void setCurrentIndex(int index);

    bool isSliding() const { return m_slide != nullptr; }

signals:
    void currentChanged(int index);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // Ends a slide under way at once, every page in its final place.
    void finishSlide();

    QList<QWidget*> m_pages;
    int m_current = -1;
    QParallelAnimationGroup* m_slide = nullptr;
    QWidget* m_leaving = nullptr;
};

} // namespace kyvane
