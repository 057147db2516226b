#include "plugin/file_mapping.hpp"

#ifndef _WIN32

#include <algorithm>
#include <atomic>
#include <csignal>
#include <mutex>

#include <sys/mman.h>
#include <unistd.h>

namespace hw {

namespace {

// One mapped window that the SIGBUS handler watches. The handler may run on
// any thread while another thread changes a guard, so a guard is written
// under a sequence count that is odd while it changes, and the handler
// takes a range only when the count was even and the same before and after
// it read it. Skipping a guard that is changing is safe: only the thread that
// maps a window changes its guard, and a fault there is that thread's own.
struct Guard
{
    std::atomic<bool> taken {false};
    std::atomic<std::uint32_t> sequence {0};
    std::atomic<std::uintptr_t> begin {0};
    std::atomic<std::uintptr_t> end {0};
    std::atomic<bool> lost {false};
};

// More readers of mapped files at once than any program of ours runs; a
// reader that finds no free guard copies with read() instead.
constexpr int kGuards = 64;

Guard g_guards[kGuards];
std::uintptr_t g_pageSize = 4096;
struct sigaction g_previous
{
};

void setRange(Guard &guard, std::uintptr_t begin, std::uintptr_t end)
{
    guard.sequence.fetch_add(1, std::memory_order_acq_rel);
    guard.begin.store(begin, std::memory_order_relaxed);
    guard.end.store(end, std::memory_order_relaxed);
    guard.sequence.fetch_add(1, std::memory_order_release);
}

// The watched range that holds `address`: its guard and end, or nothing.
Guard *guardOf(std::uintptr_t address, std::uintptr_t &end)
{
    for (auto &guard : g_guards) {
        const auto before = guard.sequence.load(std::memory_order_acquire);
        const auto begin = guard.begin.load(std::memory_order_relaxed);
        end = guard.end.load(std::memory_order_relaxed);
        std::atomic_thread_fence(std::memory_order_acquire);
        const auto after = guard.sequence.load(std::memory_order_relaxed);
        if (before % 2 == 0 && before == after && begin <= address && address < end)
            return &guard;
    }
    return nullptr;
}

// Only calls that are safe in a signal handler: sigaction and raise are, and
// mmap is a plain system call.
void onBusError(int signal, siginfo_t *info, void *context)
{
    const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
    std::uintptr_t end = 0;
    if (Guard *guard = guardOf(address, end)) {
        const auto page = address & ~(g_pageSize - 1);
        void *zeros = ::mmap(reinterpret_cast<void *>(page), end - page, PROT_READ,
                             MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
        if (zeros != MAP_FAILED) {
            guard->lost.store(true, std::memory_order_release);
            return;
        }
    }
    if ((g_previous.sa_flags & SA_SIGINFO) != 0 && g_previous.sa_sigaction != nullptr) {
        g_previous.sa_sigaction(signal, info, context);
        return;
    }
    if ((g_previous.sa_flags & SA_SIGINFO) == 0 && g_previous.sa_handler != SIG_DFL &&
        g_previous.sa_handler != SIG_IGN) {
        g_previous.sa_handler(signal);
        return;
    }
    // Back to the default: the access faults again when the handler returns
    // and ends the process with SIGBUS, as it would have without us, and a
    // SIGBUS that a program sent is sent again.
    struct sigaction fallback
    {
    };
    fallback.sa_handler = SIG_DFL;
    ::sigaction(SIGBUS, &fallback, nullptr);
    if (info->si_code <= 0)
        ::raise(signal);
}

void installHandler()
{
    static std::once_flag once;
    std::call_once(once, [] {
        g_pageSize = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
        struct sigaction action
        {
        };
        action.sa_sigaction = onBusError;
        action.sa_flags = SA_SIGINFO;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGBUS, &action, &g_previous);
    });
}

int takeGuard(const char *window, std::size_t length)
{
    for (int at = 0; at < kGuards; ++at) {
        bool taken = false;
        if (g_guards[at].taken.compare_exchange_strong(taken, true)) {
            g_guards[at].lost.store(false);
            const auto begin = reinterpret_cast<std::uintptr_t>(window);
            setRange(g_guards[at], begin, begin + length);
            return at;
        }
    }
    return -1;
}

// Gives the guard back; true when the window lost pages.
bool releaseGuard(int at)
{
    setRange(g_guards[at], 0, 0);
    const bool lost = g_guards[at].lost.load(std::memory_order_acquire);
    g_guards[at].taken.store(false);
    return lost;
}

} // namespace

FileMapping::FileMapping(int fd, std::uint64_t fileSize, std::size_t windowSize)
    : m_fd(fd)
    , m_fileSize(fileSize)
{
    installHandler();
    m_windowSize =
        std::max<std::size_t>((windowSize + g_pageSize - 1) & ~(g_pageSize - 1), g_pageSize);
}

FileMapping::~FileMapping()
{
    unmap();
}

void FileMapping::unmap()
{
    if (m_window == nullptr)
        return;
    // The guard goes first: once unmapped, the addresses may be mapped anew
    // by anyone.
    m_lost = releaseGuard(m_guard) || m_lost;
    ::munmap(const_cast<char *>(m_window), m_length);
    m_window = nullptr;
    m_guard = -1;
}

bool FileMapping::map(std::uint64_t offset, std::size_t length)
{
    unmap();
    const std::uint64_t start = offset & ~std::uint64_t {g_pageSize - 1};
    const std::uint64_t wanted = std::max<std::uint64_t>(m_windowSize, offset - start + length);
    const auto mapped = static_cast<std::size_t>(std::min(wanted, m_fileSize - start));
    void *window = ::mmap(nullptr, mapped, PROT_READ, MAP_SHARED, m_fd, static_cast<off_t>(start));
    if (window == MAP_FAILED)
        return false;
    const int guard = takeGuard(static_cast<const char *>(window), mapped);
    if (guard < 0) {
        ::munmap(window, mapped);
        return false;
    }
    // The reader goes through the window from start to end, and says so: the
    // system reads ahead further on a cold cache, and on a warm one the
    // mapping cost half the system time. (Asking for whole windows ahead
    // with MADV_WILLNEED was slower on a cold cache, the reader waiting
    // behind the disk's queue; see bench/measure-reader.)
    ::madvise(window, mapped, MADV_SEQUENTIAL);
    m_window = static_cast<const char *>(window);
    m_start = start;
    m_length = mapped;
    m_guard = guard;
    return true;
}

std::optional<std::string_view> FileMapping::view(std::uint64_t offset, std::size_t length)
{
    if (offset >= m_fileSize)
        return std::string_view();
    length = static_cast<std::size_t>(std::min<std::uint64_t>(length, m_fileSize - offset));
    const bool inside =
        m_window != nullptr && offset >= m_start && offset - m_start + length <= m_length;
    if (!inside && !map(offset, length))
        return std::nullopt;
    return std::string_view(m_window + (offset - m_start), m_length - (offset - m_start));
}

bool FileMapping::lostPages() const
{
    return m_lost || (m_guard >= 0 && g_guards[m_guard].lost.load(std::memory_order_acquire));
}

} // namespace hw

#endif
