#include "ui/widgets/EmptyListHint.h"

#include <QAbstractItemView>
#include <QEvent>

namespace kyvane {

namespace {
constexpr int kMargin = 24;
} // namespace

EmptyListHint::EmptyListHint(QAbstractScrollArea* list, std::function<bool()> isEmpty)
    : QLabel(list->viewport()), m_viewport(list->viewport()), m_isEmpty(std::move(isEmpty))
{
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    // Taps go to the list below.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    m_viewport->installEventFilter(this);
    // A list of items says when rows come and go.
    if (const auto* view = qobject_cast<const QAbstractItemView*>(list); view && view->model()) {
        for (const auto change : {&QAbstractItemModel::rowsInserted,
                                  &QAbstractItemModel::rowsRemoved})
            connect(view->model(), change, this, &EmptyListHint::refresh);
        connect(view->model(), &QAbstractItemModel::modelReset, this, &EmptyListHint::refresh);
    }
    refresh();
}

void EmptyListHint::setHint(const QString& text)
{
    setText(text);
    refresh();
}

void EmptyListHint::refresh()
{
    setGeometry(m_viewport->rect().adjusted(kMargin, kMargin, -kMargin, -kMargin));
    setVisible(!text().isEmpty() && m_isEmpty());
}

bool EmptyListHint::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_viewport && event->type() == QEvent::Resize)
        setGeometry(m_viewport->rect().adjusted(kMargin, kMargin, -kMargin, -kMargin));
    return QLabel::eventFilter(watched, event);
}

} // namespace kyvane
