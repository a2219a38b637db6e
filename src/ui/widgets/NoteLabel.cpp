#include "ui/widgets/NoteLabel.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QTextLayout>

namespace kyvane {

NoteLabel::NoteLabel(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
}

void NoteLabel::setNote(const QString& note)
{
    setText(note);
    setToolTip(note);
    setVisible(!note.isEmpty());
}

void NoteLabel::paintEvent(QPaintEvent* /*event*/)
{
    const QRect area = contentsRect();
    const QFontMetricsF metrics(font());
    QTextLayout layout(text(), font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);

    QPainter painter(this);
    // The style sheet's panel: background, border and corners.
    QStyleOption panel;
    panel.initFrom(this);
    style()->drawPrimitive(QStyle::PE_Widget, &panel, &painter, this);
    painter.setPen(palette().color(foregroundRole()));
    painter.setFont(font());
    const qreal lineHeight = metrics.lineSpacing();
    qreal y = area.top();
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(area.width());
        const bool lastThatFits = y + 2 * lineHeight > area.bottom() + 1;
        const int end = line.textStart() + line.textLength();
        if (lastThatFits && end < text().size()) {
            // The rest of the note on one line, cut with "…".
            const QString rest = metrics.elidedText(text().mid(line.textStart()), Qt::ElideRight,
                                                    area.width());
            painter.drawText(QPointF(area.left(), y + metrics.ascent()), rest);
            break;
        }
        line.draw(&painter, QPointF(area.left(), y));
        y += lineHeight;
        if (lastThatFits)
            break;
    }
    layout.endLayout();
}

} // namespace kyvane
