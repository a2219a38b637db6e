#include "ui/dialogs/DialogBase.h"

#include "i18n/LanguageRes.h"
#include "ui/BackKey.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace kyvane {

namespace {

constexpr int kSideMargin = 30;
constexpr int kButtonBarHeight = 60;

} // namespace

DialogBase::DialogBase(QWidget* window, const QString& caption, const QString& okName,
                       const QString& cancelName, qreal backdropOpacity)
    : QWidget(window), m_backdropOpacity(backdropOpacity)
{
    setWindowTitle(caption);
    hide();

    m_panel = new QFrame(this);
    m_panel->setObjectName(QStringLiteral("dialogPanel"));
    m_content = new QVBoxLayout;
    m_content->setContentsMargins(16, 16, 16, 8);
    m_content->setSpacing(8);

    auto* buttonBar = new QWidget(m_panel);
    buttonBar->setObjectName(QStringLiteral("dialogButtons"));
    buttonBar->setFixedHeight(kButtonBarHeight);
    m_cancel = new QPushButton(buttonBar);
    m_cancel->setObjectName(cancelName);
    m_ok = new QPushButton(buttonBar);
    m_ok->setObjectName(okName);
    // Enter on a focused button presses that button, not OK.
    m_cancel->setAutoDefault(true);
    m_ok->setAutoDefault(true);
    auto* buttons = new QHBoxLayout(buttonBar);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(0);
    buttons->addWidget(m_cancel, 1);
    buttons->addWidget(m_ok, 1);

    auto* panelColumn = new QVBoxLayout(m_panel);
    panelColumn->setContentsMargins(0, 0, 0, 0);
    panelColumn->setSpacing(0);
    panelColumn->addLayout(m_content);
    panelColumn->addWidget(buttonBar);

    // The panel is centred vertically, 30 from the left and right edges.
    auto* backdrop = new QVBoxLayout(this);
    backdrop->setContentsMargins(kSideMargin, 0, kSideMargin, 0);
    backdrop->addStretch(1);
    backdrop->addWidget(m_panel);
    backdrop->addStretch(1);

    connect(m_ok, &QPushButton::clicked, this, [this] { okClicked(); });
    connect(m_cancel, &QPushButton::clicked, this, &DialogBase::cancelClicked);

    // The overlay always covers its whole window.
    if (window)
        window->installEventFilter(this);
}

void DialogBase::open(TCallback callback)
{
    Callback = std::move(callback);
    if (parentWidget())
        setGeometry(parentWidget()->rect());
    show();
    raise();
    activateWindow();
    // Typing goes to the dialog's own first control, such as the extension's
    // edit; a dialog of buttons alone takes the keys itself, so that none
    // reaches the screen below.
    const QList<QWidget*> controls = focusableControls();
    const auto first = std::find_if(controls.cbegin(), controls.cend(),
                                    [this](QWidget* w) { return w != m_ok && w != m_cancel; });
    if (first != controls.cend())
        (*first)->setFocus();
    else
        setFocus();
}

QList<QWidget*> DialogBase::focusableControls() const
{
    QList<QWidget*> controls;
    for (QWidget* w = nextInFocusChain(); w != this; w = w->nextInFocusChain()) {
        if (isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(this) &&
            w->isEnabled())
            controls.append(w);
    }
    return controls;
}

bool DialogBase::focusNextPrevChild(bool next)
{
    // Tab goes round the dialog's own controls, never to the screen below.
    const QList<QWidget*> controls = focusableControls();
    if (controls.isEmpty())
        return true;
    const qsizetype at = controls.indexOf(focusWidget());
    const qsizetype count = controls.size();
    const qsizetype to = at < 0 ? 0 : (at + (next ? 1 : count - 1)) % count;
    controls.at(to)->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

void DialogBase::applyLanguage()
{
    m_ok->setText(langText(20));
    m_cancel->setText(langText(21));
}

void DialogBase::answer(const QString& value)
{
    // Taken before the call: the callee may open this dialog again.
    const TCallback callback = Callback;
    hide();
    if (callback)
        callback(value);
}

void DialogBase::okClicked()
{
    answer(okValue());
}

void DialogBase::cancelClicked()
{
    answer(QString());
}

void DialogBase::showEvent(QShowEvent* event)
{
    FormShow();
    // Sees the key releases of its controls before they do: a spin box or
    // an edit would keep Escape and Back for itself.
    QCoreApplication::instance()->installEventFilter(this);
    QWidget::showEvent(event);
}

void DialogBase::hideEvent(QHideEvent* event)
{
    QCoreApplication::instance()->removeEventFilter(this);
    QWidget::hideEvent(event);
}

void DialogBase::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        okClicked();
        return;
    default:
        event->accept(); // keys never reach the screens below
    }
}

void DialogBase::keyReleaseEvent(QKeyEvent* event)
{
    // No key release reaches the window below, where Back would change the
    // screen; Escape and Back were taken by the filter already.
    event->accept();
}

bool DialogBase::eventFilter(QObject* watched, QEvent* event)
{
    // Escape and the Back key cancel the dialog, released on the dialog or
    // on any of its controls.
    if (event->type() == QEvent::KeyRelease && watched->isWidgetType() &&
        (watched == this || isAncestorOf(static_cast<QWidget*>(watched)))) {
        const auto* release = static_cast<QKeyEvent*>(event);
        if (release->key() == Qt::Key_Escape || isBackKey(release->key(), release->modifiers())) {
            cancelClicked();
            return true;
        }
    }
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

void DialogBase::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QColor dim(Qt::darkGray);
    dim.setAlphaF(static_cast<float>(m_backdropOpacity));
    painter.fillRect(rect(), dim);
}

} // namespace kyvane
