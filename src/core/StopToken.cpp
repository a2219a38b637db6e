#include "core/StopToken.h"

#include <QMutex>

#include <vector>

namespace kyvane::StopTokens {

namespace {
QMutex g_mutex;
std::vector<std::weak_ptr<StopToken>> g_tokens;
} // namespace

std::shared_ptr<StopToken> issue()
{
    auto token = std::make_shared<StopToken>();
    QMutexLocker locker(&g_mutex);
    std::erase_if(g_tokens, [](const std::weak_ptr<StopToken>& t) { return t.expired(); });
    g_tokens.push_back(token);
    return token;
}

void stopAll()
{
    QMutexLocker locker(&g_mutex);
    for (const std::weak_ptr<StopToken>& weak : g_tokens) {
        if (const auto token = weak.lock())
            token->stop();
    }
}

} // namespace kyvane::StopTokens
