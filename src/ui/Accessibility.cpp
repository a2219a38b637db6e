#include "ui/Accessibility.h"

#include "ui/widgets/ClickableFrame.h"
#include "ui/widgets/ClickableLabel.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace kyvane::Accessibility {

namespace {

// A frame or label that acts on a tap, as a button: its press action taps it.
class TapButton final : public QAccessibleWidget
{
public:
    explicit TapButton(QWidget* widget) : QAccessibleWidget(widget, QAccessible::Button) {}

    QStringList actionNames() const override { return {pressAction()}; }

    void doAction(const QString& action) override
    {
        if (action != pressAction())
            return;
        if (auto* frame = qobject_cast<ClickableFrame*>(widget()))
            frame->press();
        else if (auto* label = qobject_cast<ClickableLabel*>(widget()))
            label->press();
    }

    QString text(QAccessible::Text t) const override
    {
        QString text = QAccessibleWidget::text(t);
        // A label says what it is; a frame is named for its label.
        if (t == QAccessible::Name && text.isEmpty()) {
            if (const auto* label = qobject_cast<const QLabel*>(widget()))
                text = label->text();
        }
        return text;
    }
};

QAccessibleInterface* tapButtonFactory(const QString& className, QObject* object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    if (className == QLatin1String("kyvane::ClickableFrame") ||
        className == QLatin1String("kyvane::ClickableLabel"))
        return new TapButton(static_cast<QWidget*>(object));
    return nullptr;
}

} // namespace

void installTapButtons()
{
    static const bool installed = [] {
        QAccessible::installFactory(tapButtonFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

void nameControls(QWidget* scope, std::initializer_list<std::pair<const char*, QString>> names)
{
    for (const auto& [objectName, name] : names) {
        // Only the scope's own: screens and dialogs share some names.
        if (auto* control = scope->findChild<QWidget*>(QString::fromLatin1(objectName)))
            control->setAccessibleName(name);
    }
}

} // namespace kyvane::Accessibility
