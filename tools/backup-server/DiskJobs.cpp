#include "DiskJobs.h"

namespace kyvane::server {

DiskJobs::DiskJobs(int maxThreads)
{
    m_pool.setMaxThreadCount(std::max(1, maxThreads));
}

DiskJobs::~DiskJobs()
{
    m_pool.waitForDone();
}

} // namespace kyvane::server
