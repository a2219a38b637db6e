#pragma once

#include "ScriptedClient.h"

#include <QString>
#include <QThread>

#include <atomic>
#include <chrono>
#include <latch>
#include <memory>
#include <vector>

// One client's upload of a file named "clip.mov", and what the server said.
struct UploadAtOnce
{
    quint16 port = 0;
    const QByteArray* content = nullptr;
    QString modified;
    QString reply; // to the put line
    QString ack;
};

// Runs each upload from a client of its own on a thread of its own; all of
// them send their put line at the same moment, once every client is logged
// in. Returns the seconds from that moment to the last answer, or a value
// below 0 when a client was still at work after waitMs.
inline double uploadAtOnce(std::vector<UploadAtOnce>& uploads, int waitMs = 120000)
{
    using Clock = std::chrono::steady_clock;
    std::latch loggedIn(qsizetype(uploads.size()));
    std::atomic<Clock::rep> start{0};
    std::vector<std::unique_ptr<QThread>> threads;
    for (UploadAtOnce& upload : uploads) {
        threads.emplace_back(QThread::create([&upload, &loggedIn, &start] {
            ScriptedClient client;
            const bool in = client.connectAndLogIn(upload.port);
            loggedIn.arrive_and_wait();
            Clock::rep none = 0;
            start.compare_exchange_strong(none, Clock::now().time_since_epoch().count());
            if (in)
                upload.reply =
                    client.upload("clip.mov", *upload.content, &upload.ack, upload.modified);
        }));
        threads.back()->start();
    }
    bool ended = true;
    for (auto& thread : threads)
        ended = thread->wait(QDeadlineTimer(waitMs)) && ended;
    if (!ended)
        return -1;
    const Clock::duration taken = Clock::now().time_since_epoch() - Clock::duration(start.load());
    return std::chrono::duration<double>(taken).count();
}
