#pragma once

#include "core/EngineSettings.h"

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>

#include <functional>
#include <memory>

namespace kyvane {

class HandOverChannel;

// Makes thumbnails on one thread of its own, so that a click on a picture is
// answered at once whatever the file holds. Only the newest request counts:
// one asked for while another is being made replaces any that waits. Each
// result comes back on the thread that made this object, to the callback
// given at construction; none comes once this object is gone.
class ThumbnailWorker final : public QObject
{
    Q_OBJECT

public:
    // ticket names the request for the caller (a row, a listing); image is
    // null when the picture is refused or cannot be decoded.
    using Ready = std::function<void(quint64 ticket, const QString& path, const QImage& image)>;

    ThumbnailWorker(PictureBudget budget, Ready ready, QObject* parent = nullptr);
    ~ThumbnailWorker() override;

    void request(quint64 ticket, const QString& path, const QSize& box);

    // Whether a request waits or is being made.
    bool isBusy() const;

    struct Shared;

private:
    std::shared_ptr<Shared> m_shared;
    std::shared_ptr<HandOverChannel> m_channel;
};

} // namespace kyvane
