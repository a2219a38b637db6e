#include "media/SvgBudget.h"

#include <QXmlStreamReader>

namespace kyvane {

bool svgWithinBudget(const QByteArray& document, const PictureBudget& budget)
{
    if (document.size() > budget.svgBytes)
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
