#pragma once

#include "core/EngineSettings.h"

#include <QImage>
#include <QList>
#include <QObject>
#include <QSize>
#include <QString>

#include <functional>
#include <memory>

namespace kyvane {

class HandOverChannel;

// Makes thumbnails on one thread of its own, through the shared thumbnail
// cache, so that neither a click on a picture nor a scroll through a folder
// waits for a decoder. A click's thumbnail comes first; then those of the
// rows in view. Only the newest requests count: a click replaces an earlier
// click not yet begun, and the rows in view replace the rows that were in
// view. Each result comes back on the thread that made this object, to the
// callback given at construction; none comes once this object is gone.
class ThumbnailWorker final : public QObject
{
    Q_OBJECT

public:
    struct Request
    {
        quint64 ticket = 0; // names the request for the caller
        QString path;
        QSize box;
    };

    // image is null when the picture is refused or cannot be decoded.
    using Ready = std::function<void(quint64 ticket, const QString& path, const QImage& image)>;

    ThumbnailWorker(PictureBudget budget, Ready ready, QObject* parent = nullptr);
    ~ThumbnailWorker() override;

    // A click on a picture.
    void request(quint64 ticket, const QString& path, const QSize& box);
    // The pictures in view, in the order they should come.
    void requestInView(const QList<Request>& requests);

    // Whether a request waits or is being made.
    bool isBusy() const;

    struct Shared;

private:
    std::shared_ptr<Shared> m_shared;
    std::shared_ptr<HandOverChannel> m_channel;
};

} // namespace kyvane
