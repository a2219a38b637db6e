// Runs a program under the rule of systemd's MemoryDenyWriteExecute=yes: no
// memory both writable and executable, neither in this process nor in what
// it runs (PR_SET_MDWE outlives execve).
//
//   without-writable-code PROGRAM [ARGUMENT...]
//
// Ends with 77 where the kernel lacks the rule (Linux 6.3 and later have
// it), with 78 where writable code can still be made, and with 127 when
// PROGRAM cannot be run. A test cannot set the rule in a child of its own
// QProcess: that child shares the test's memory until it runs a program,
// so the rule would bind the test process as well.
#include <sys/mman.h>
#include <sys/prctl.h>
#include <unistd.h>

// Newer than the kernel headers of Debian 12.
#ifndef PR_SET_MDWE
#define PR_SET_MDWE 65
#define PR_MDWE_REFUSE_EXEC_GAIN 1
#endif

int main(int argc, char* argv[])
{
    if (argc < 2)
        return 2;
    if (::prctl(PR_SET_MDWE, PR_MDWE_REFUSE_EXEC_GAIN, 0, 0, 0) != 0)
        return 77;
    void* code = ::mmap(nullptr, 4096, PROT_READ | PROT_WRITE | PROT_EXEC,
                        MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (code != MAP_FAILED)
        return 78;
    ::execv(argv[1], argv + 1);
    return 127;
}
