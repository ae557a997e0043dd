#include "tests/harness/FakePipe.h"

#include <stdexcept>

#include "platform/win32/NativeKernel.h"
#include "tests/support/win32/NativeHandles.h"

// The server end of a message-mode named pipe. Once it is closed, the near end reads what was
// queued and then fails with a broken pipe, as a pipe handle of the vendor's library does.
struct FakePipe::FarEnd {
    intptr_t handle = -1;

    void Close() {
        if (handle != -1) {
            win32::CloseKernelHandle(handle);
            handle = -1;
        }
    }
};

FakePipe::FakePipe() : m_far(std::make_unique<FarEnd>()) {
    intptr_t nearEnd = -1;
    if (!win32::CreateMessagePipe(nearEnd, m_far->handle)) {
        throw std::runtime_error("cannot create a pipe");
    }
    m_near = nearEnd;
}

FakePipe::~FakePipe() {
    m_far->Close();
}

std::vector<std::string> FakePipe::TakePackets() {
    return m_far->handle == -1 ? std::vector<std::string>{} : win32::TakeMessages(m_far->handle);
}

void FakePipe::Send(const std::string& packet) {
    if (m_far->handle == -1 || !win32::WriteMessage(m_far->handle, packet)) {
        throw std::runtime_error("the far end cannot send");
    }
}

void FakePipe::EndTowardsNear() {
    m_far->Close();
}

void FakePipe::CloseFarEnd() {
    m_far->Close();
}
