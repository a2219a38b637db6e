// Keeping the focused field of the server editor clear of an on-screen
// keyboard. Desktop platforms send no keyboard notifications, so there this
// never moves anything.

#include "ui/MainWindow.h"

#include <QGuiApplication>
#include <QInputMethod>
#include <QScrollArea>
#include <QScrollBar>

#include <algorithm>

namespace kyvane {

void TForm1::hookKeyboardNotifications()
{
    QInputMethod* inputMethod = QGuiApplication::inputMethod();
    auto follow = [this, inputMethod] {
        // The input method gives the keyboard in window coordinates.
        const QRectF inWindow = inputMethod->keyboardRectangle();
        const QRectF onScreen(mapToGlobal(inWindow.topLeft()), inWindow.size());
        if (inputMethod->isVisible() && !inWindow.isEmpty())
            FormVirtualKeyboardShown(onScreen);
        else if (!FKBBounds.isNull()) // only a keyboard that was shown goes away
            FormVirtualKeyboardHidden(onScreen);
    };
    connect(inputMethod, &QInputMethod::visibleChanged, this, follow);
    connect(inputMethod, &QInputMethod::keyboardRectangleChanged, this, follow);
}

void TForm1::FormVirtualKeyboardShown(const QRectF& bounds)
{
    FKBBounds = QRectF(mapFromGlobal(bounds.topLeft()), mapFromGlobal(bounds.bottomRight()));
    ApplyKeyboardOffset();
}

void TForm1::FormVirtualKeyboardHidden(const QRectF&)
{
    FKBBounds = QRectF();
    FNeedOffset = false;
    ResetKeyboardOffset();
}

void TForm1::ApplyKeyboardOffset()
{
    FNeedOffset = false;
    if (const QWidget* focused = focusWidget()) {
        // Where the field lies with the editor unscrolled.
        QRectF field(focused->mapTo(this, QPointF(0, 0)), focused->size());
        field.translate(0, VertScrollBox2->verticalScrollBar()->value());
        if (field.intersects(FKBBounds) && field.bottom() > FKBBounds.top()) {
            FNeedOffset = true;
            // The content keeps its height instead of following the area's,
            // and grows so that it can be scrolled far enough.
            VertScrollBox2->setWidgetResizable(false);
            QRectF content(QPointF(0, 0),
                           QSizeF(VertScrollBox2->viewport()->width(), Layout1->height()));
            CalcKeyboardContentBounds(content);
            Layout1->resize(content.size().toSize());
            QScrollBar* vertical = VertScrollBox2->verticalScrollBar();
            vertical->setValue(static_cast<int>(field.bottom() - FKBBounds.top()));
        }
    }
    if (!FNeedOffset)
        ResetKeyboardOffset();
}

void TForm1::ResetKeyboardOffset()
{
    VertScrollBox2->verticalScrollBar()->setValue(0);
    VertScrollBox2->setWidgetResizable(true);
}

void TForm1::CalcKeyboardContentBounds(QRectF& contentBounds) const
{
    if (FNeedOffset && FKBBounds.top() > 0)
        contentBounds.setBottom(std::max(contentBounds.bottom(), 2 * height() - FKBBounds.top()));
}

} // namespace kyvane
