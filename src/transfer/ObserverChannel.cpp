#include "transfer/ObserverChannel.h"

namespace kyvane {

ObserverChannel::ObserverChannel(JobObserver* observer)
    : m_observer(observer), m_channel(observer ? observer->context() : nullptr)
{
}

bool ObserverChannel::run(const std::function<void(JobObserver&)>& call)
{
    return m_channel.run([this, &call] { call(*m_observer); });
}

} // namespace kyvane
