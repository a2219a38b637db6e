#include "media/SvgBudget.h"

#include <QXmlStreamReader>

namespace kyvane {

namespace {

// Whether an element reads another file: an <image>, or a reference that is
// not to an element of the document itself. The renderer would open it and
// decode it whole, whatever it is: a huge picture, a FIFO, the document
// itself.
bool readsAnotherFile(const QXmlStreamReader& reader)
{
    if (reader.name() == QLatin1String("image"))
        return true;
    for (const QXmlStreamAttribute& attribute : reader.attributes()) {
        if (attribute.name() == QLatin1String("href") &&
            !attribute.value().trimmed().startsWith(QLatin1Char('#')))
            return true;
    }
    return false;
}

} // namespace

bool svgWithinBudget(const QByteArray& document, const PictureBudget& budget)
{
    if (document.size() > budget.svgBytes)
        return false;
    // Dashed strokes cost the renderer time out of all proportion to the
    // document's size (tens of seconds for a few thousand short paths),
    // whether set on an element or in a style.
    if (document.contains("dasharray"))
        return false;
    QXmlStreamReader reader(document);
    int elements = 0;
    int uses = 0;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::DTD:
            if (!reader.entityDeclarations().isEmpty())
                return false;
            break;
        case QXmlStreamReader::StartElement:
            if (++elements > budget.svgElements)
                return false;
            if (reader.name() == QLatin1String("use") && ++uses > budget.svgUses)
                return false;
            if (readsAnotherFile(reader))
                return false;
            break;
        case QXmlStreamReader::EntityReference:
            return false;
        default:
            break;
        }
    }
    return !reader.hasError() && elements > 0;
}

} // namespace kyvane
