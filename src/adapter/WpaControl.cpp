#include "adapter/WpaControl.h"

#include "platform/Diagnostics.h"

#include <cerrno>
#include <mutex>

#include <sys/stat.h>
#include <unistd.h>

#include <wpa_ctrl.h>

namespace {

// Replies of wpa_supplicant 2.10 fit in 4 KiB; the room to spare keeps a longer one whole.
constexpr std::size_t replyCapacity = 16384;

// wpa_ctrl_open names its client socket from a process-wide counter that it does not guard.
std::mutex& openMutex() {
    static std::mutex mutex;
    return mutex;
}

std::string_view withoutLevel(std::string_view message) {
    if (!message.empty() && message.front() == '<') {
        const std::size_t close = message.find('>');
        if (close != std::string_view::npos) {
            message.remove_prefix(close + 1);
        }
    }
    return message;
}

} // namespace

std::string untrustedControlFolder(const std::string& folder) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) {
        return {};
    }
    if (!S_ISDIR(info.st_mode)) {
        return "it is not a folder";
    }
    if (info.st_uid != 0 && info.st_uid != ::geteuid()) {
        return "it belongs to user " + std::to_string(info.st_uid) + ", neither root nor this program's user";
    }
    if ((info.st_mode & S_IWOTH) != 0) {
        return "every user may write to it";
    }
    return {};
}

std::unique_ptr<WpaControlConnection> WpaControlConnection::open(const std::string& socketPath,
                                                                 std::string& reason) {
    wpa_ctrl* control = nullptr;
    int error = 0;
    {
        const std::lock_guard<std::mutex> guard(openMutex());
        errno = 0;
        control = wpa_ctrl_open(socketPath.c_str());
        error = errno;
    }
    if (control == nullptr) {
        reason = error != 0 ? diag::reason(error) : "cannot connect";
        return nullptr;
    }
    return std::unique_ptr<WpaControlConnection>(new WpaControlConnection(control));
}

WpaControlConnection::WpaControlConnection(wpa_ctrl* control)
    : m_control(control), m_buffer(replyCapacity, '\0') {}

WpaControlConnection::~WpaControlConnection() {
    wpa_ctrl_close(m_control);
}

WpaControlConnection::Reply WpaControlConnection::request(std::string_view command) {
    Reply reply;
    std::size_t length = m_buffer.size();
    errno = 0;
    const int result =
        wpa_ctrl_request(m_control, command.data(), command.size(), m_buffer.data(), &length, nullptr);
    const int error = errno;
    if (result == -2) {
        reply.status = Status::TimedOut;
        reply.reason = "no reply";
    } else if (result != 0) {
        reply.status = Status::Failed;
        reply.reason = error != 0 ? diag::reason(error) : "the socket failed";
    } else {
        reply.status = Status::Answered;
        reply.text.assign(m_buffer.data(), length);
    }
    return reply;
}

WpaControlConnection::Reply WpaControlConnection::attach() {
    return request("ATTACH");
}

int WpaControlConnection::descriptor() const {
    return wpa_ctrl_get_fd(m_control);
}

bool WpaControlConnection::drainEvents(std::vector<std::string>& events) {
    while (true) {
        const int pending = wpa_ctrl_pending(m_control);
        if (pending < 0) {
            return false;
        }
        if (pending == 0) {
            return true;
        }
        std::size_t length = m_buffer.size();
        if (wpa_ctrl_recv(m_control, m_buffer.data(), &length) != 0) {
            return false;
        }
        events.emplace_back(withoutLevel(std::string_view(m_buffer.data(), length)));
    }
}
