#include "zelport/sim/link/WriteInterceptor.h"

#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstddef>
#include <cstring>

namespace devlink {

namespace {

#if defined(__x86_64__)
constexpr uint32_t kArchitecture = AUDIT_ARCH_X86_64;
#elif defined(__aarch64__)
constexpr uint32_t kArchitecture = AUDIT_ARCH_AARCH64;
#else
#error "WriteInterceptor knows the audit architecture of x86-64 and AArch64 only"
#endif
// The filter reads the descriptor as the lower 32 bits of the first argument.
static_assert(std::endian::native == std::endian::little);

// Larger writes are refused as a SOCK_SEQPACKET socket refuses a packet above its buffer.
constexpr size_t kLargestWrite = 1 << 20;

std::string SystemError(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

// Whether `thread` (as the listener's pid namespace numbers it) is a thread of this process.
bool IsOwnThread(pid_t thread) {
    return syscall(SYS_tgkill, getpid(), thread, 0) == 0;
}

}  // namespace

std::unique_ptr<WriteInterceptor> WriteInterceptor::Install(std::string& error) {
    constexpr uint32_t kFirst = kFirstDescriptor;
    constexpr uint32_t kEnd = kFirstDescriptor + kDescriptorCount;
    sock_filter program[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, arch)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, kArchitecture, 1, 0),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_write, 1, 0),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        // The kernel takes the descriptor as an unsigned int: the argument's lower half.
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, args[0])),
        BPF_JUMP(BPF_JMP | BPF_JGE | BPF_K, kFirst, 1, 0),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        BPF_JUMP(BPF_JMP | BPF_JGE | BPF_K, kEnd, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_USER_NOTIF),
    };
    sock_fprog filter{static_cast<unsigned short>(sizeof program / sizeof program[0]), program};

    seccomp_notif_sizes sizes{};
    if (syscall(SYS_seccomp, SECCOMP_GET_NOTIF_SIZES, 0, &sizes) != 0) {
        error = SystemError("seccomp(SECCOMP_GET_NOTIF_SIZES)");
        return nullptr;
    }
    // Required to install a filter without CAP_SYS_ADMIN; it only stops set-user-id programs
    // started from here from gaining privileges.
    if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0) {
        error = SystemError("prctl(PR_SET_NO_NEW_PRIVS)");
        return nullptr;
    }
    const long listener = syscall(SYS_seccomp, SECCOMP_SET_MODE_FILTER,
                                  SECCOMP_FILTER_FLAG_NEW_LISTENER | SECCOMP_FILTER_FLAG_TSYNC |
                                      SECCOMP_FILTER_FLAG_TSYNC_ESRCH,
                                  &filter);
    if (listener < 0) {
        error = SystemError("seccomp(SECCOMP_SET_MODE_FILTER)");
        return nullptr;
    }
    std::unique_ptr<WriteInterceptor> interceptor(new WriteInterceptor(static_cast<int>(listener)));
    interceptor->m_notificationSize = std::max<size_t>(sizes.seccomp_notif, sizeof(seccomp_notif));
    interceptor->m_responseSize =
        std::max<size_t>(sizes.seccomp_notif_resp, sizeof(seccomp_notif_resp));
    return interceptor;
}

WriteInterceptor::WriteInterceptor(int listener) : m_listener(listener) {}

WriteInterceptor::~WriteInterceptor() {
    close(m_listener);
}

bool WriteInterceptor::Next(Write& write) {
    std::vector<uint64_t> storage((m_notificationSize + 7) / 8, 0);
    auto* notification = reinterpret_cast<seccomp_notif*>(storage.data());
    if (ioctl(m_listener, SECCOMP_IOCTL_NOTIF_RECV, notification) != 0) {
        return false;
    }
    const uint64_t id = notification->id;
    if (!IsOwnThread(static_cast<pid_t>(notification->pid))) {
        PassThrough(id);
        return false;
    }
    const size_t count = static_cast<size_t>(notification->data.args[2]);
    if (count > kLargestWrite) {
        Answer(id, 0, EMSGSIZE, 0);
        return false;
    }
    write.id = id;
    write.descriptor = static_cast<int>(notification->data.args[0]);
    write.bytes.resize(count);
    if (count > 0) {
        iovec local{write.bytes.data(), count};
        iovec remote{reinterpret_cast<void*>(static_cast<uintptr_t>(notification->data.args[1])),
                     count};
        if (process_vm_readv(getpid(), &local, 1, &remote, 1, 0) != static_cast<ssize_t>(count)) {
            Answer(id, 0, EFAULT, 0);
            return false;
        }
    }
    // The buffer is only known to be the writer's if the write is still waiting.
    return ioctl(m_listener, SECCOMP_IOCTL_NOTIF_ID_VALID, &write.id) == 0;
}

void WriteInterceptor::Complete(uint64_t id, size_t count) {
    Answer(id, static_cast<int64_t>(count), 0, 0);
}

void WriteInterceptor::Fail(uint64_t id, Error error) {
    const int code = error == Error::InputOutput ? EIO : error == Error::NoDevice ? ENODEV : EAGAIN;
    Answer(id, 0, code, 0);
}

void WriteInterceptor::PassThrough(uint64_t id) {
    Answer(id, 0, 0, SECCOMP_USER_NOTIF_FLAG_CONTINUE);
}

void WriteInterceptor::Answer(uint64_t id, int64_t value, int error, uint32_t flags) {
    std::vector<uint64_t> storage((m_responseSize + 7) / 8, 0);
    auto* response = reinterpret_cast<seccomp_notif_resp*>(storage.data());
    response->id = id;
    response->val = value;
    response->error = error == 0 ? 0 : -error;
    response->flags = flags;
    // A writer interrupted by a signal has gone; its answer has nobody to reach.
    ioctl(m_listener, SECCOMP_IOCTL_NOTIF_SEND, response);
}

}  // namespace devlink
