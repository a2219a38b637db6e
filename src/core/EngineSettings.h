#pragma once

#include <QtGlobal>

namespace kyvane {

// The limits of the engine in one place. The shipped program always uses
// these defaults; tests pass shorter time-outs.
struct EngineSettings
{
    int connectTimeoutMs = 30000;   // TCP connect
    int readTimeoutMs = 30000;      // every line read from a server
    qint64 chunkSize = 819200;      // bytes sent between two stop checks and reports
    // Workers record every outcome in the outcome store. Only the upload
    // benchmark turns it off, to measure what recording costs.
    bool recordOutcomes = true;
};

} // namespace kyvane
