// A receiver for the upload benchmark that does as little as the protocol
// allows: it greets, accepts any helo and auth, answers every put with
// offset 0, reads the file's bytes and throws them away, and acknowledges.
// So the sender, not the receiver, sets the pace.
//
//   bench_discard [--listen ADDRESS] [--port N] [other options are ignored]
//
// Prints "listening on ADDRESS:PORT" once it accepts connections, and
// serves one connection after another until it is killed.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

class Connection
{
public:
    explicit Connection(int fd) : m_fd(fd), m_buffer(1 << 20) {}
    ~Connection() { ::close(m_fd); }

    bool send(const std::string& line)
    {
        const std::string bytes = line + "\r\n";
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t sent =
                ::send(m_fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
            if (sent <= 0)
                return false;
            done += static_cast<size_t>(sent);
        }
        return true;
    }

    // The next line without its CR LF; false when the peer has gone.
    bool readLine(std::string& line)
    {
        line.clear();
        for (;;) {
            while (m_begin < m_end) {
                const char c = m_buffer[m_begin++];
                if (c == '\n') {
                    if (!line.empty() && line.back() == '\r')
                        line.pop_back();
                    return true;
                }
                line += c;
            }
            if (!fill())
                return false;
        }
    }

    // Reads count bytes and drops them.
    bool discard(long long count)
    {
        while (count > 0) {
            if (m_begin == m_end && !fill())
                return false;
            const long long take =
                std::min<long long>(count, static_cast<long long>(m_end - m_begin));
            m_begin += static_cast<size_t>(take);
            count -= take;
        }
        return true;
    }

private:
    bool fill()
    {
        const ssize_t got = ::recv(m_fd, m_buffer.data(), m_buffer.size(), 0);
        if (got <= 0)
            return false;
        m_begin = 0;
        m_end = static_cast<size_t>(got);
        return true;
    }

    int m_fd;
    std::vector<char> m_buffer;
    size_t m_begin = 0;
    size_t m_end = 0;
};

void serve(int fd)
{
    Connection connection(fd);
    std::string line;
    if (!connection.send("220 discard,4711") || !connection.readLine(line) ||
        !connection.send("001 hello") || !connection.readLine(line) ||
        !connection.send("100 welcome"))
        return;
    while (connection.readLine(line)) {
        if (line.rfind("put ", 0) != 0) {
            connection.send("500 unknown command");
            continue;
        }
        const long long size = std::strtoll(line.c_str() + 4, nullptr, 10);
        if (!connection.send("200 0") || !connection.readLine(line) || line != "START" ||
            !connection.discard(size) || !connection.send("250 discarded"))
            return;
    }
}

} // namespace

int main(int argc, char* argv[])
{
    std::string address = "127.0.0.1";
    int port = 0;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--listen") == 0)
            address = argv[++i];
        else if (std::strcmp(argv[i], "--port") == 0)
            port = std::atoi(argv[++i]);
    }

    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    const int on = 1;
    ::setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(static_cast<uint16_t>(port));
    if (::inet_pton(AF_INET, address.c_str(), &local.sin_addr) != 1 ||
        ::bind(listener, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
        ::listen(listener, 4) != 0) {
        std::perror("bench_discard");
        return 1;
    }
    socklen_t length = sizeof local;
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&local), &length);
    std::printf("listening on %s:%u\n", address.c_str(), ntohs(local.sin_port));
    std::fflush(stdout);

    for (;;) {
        const int fd = ::accept(listener, nullptr, nullptr);
        if (fd >= 0)
            serve(fd);
    }
}
