// Keeping the focused field of the server editor clear of an on-screen
// keyboard. Desktop platforms send no keyboard notifications, so there this
// never moves anything.

#include "ui/MainWindow.h"
#include "ui/screens/ServerEditorScreen.h"

#include <QGuiApplication>
#include <QInputMethod>

#include <algorithm>

namespace kyvane {

void TForm1::hookKeyboardNotifications()
{
    m_serverEditor->calcContentBounds = [this](QRectF& contentBounds) {
        CalcKeyboardContentBounds(contentBounds);
    };
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
    FNeedOffset = m_serverEditor->keyboardCovers(focusWidget(), FKBBounds);
    if (FNeedOffset)
        m_serverEditor->scrollAboveKeyboard(focusWidget(), FKBBounds);
    else
        ResetKeyboardOffset();
}

void TForm1::ResetKeyboardOffset()
{
    m_serverEditor->resetKeyboardOffset();
}

void TForm1::CalcKeyboardContentBounds(QRectF& contentBounds) const
{
    if (FNeedOffset && FKBBounds.top() > 0)
        contentBounds.setBottom(std::max(contentBounds.bottom(), 2 * height() - FKBBounds.top()));
}

} // namespace kyvane
