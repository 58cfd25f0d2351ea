// A relay in front of the test's print service, to make a slow one: it
// listens on a unix socket of its own, opens a connection to the service
// for every connection it takes, passes the client's bytes on as they come
// and hands the service's answers back as its mode says:
//
//   pass         at once
//   delay:MS     the answers on the first connection are held back until MS
//                ms after the service's first answer on it, then passed on
//   dribble:MS   on a connection that has sent a job (a request that carries
//                a document-format), one byte of the answers every MS ms
//
// It writes one line to standard output for what it does to a connection
// ("held", "dribbling"), so that a test knows when a slow answer is under
// way, and runs until it is killed.
//
// Usage: print_relay LISTEN-SOCKET SERVICE-SOCKET MODE
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <list>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// An IPP attribute document-format (tag mimeMediaType, name length 15),
// which only a request that carries a document has.
const std::string_view kJobMark(
    "\x49\x00\x0f"
    "document-format",
    18);

sockaddr_un Address(const std::string& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) {
    std::cerr << "print_relay: socket path too long: " << path << std::endl;
    std::exit(2);
  }
  std::strcpy(address.sun_path, path.c_str());
  return address;
}

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

struct Link {
  int client = -1, service = -1;
  std::string answers;  // from the service, not yet handed on
  std::string seen;     // the client's last bytes, for a mark split between reads
  bool held = false, dribbling = false, serviceEnded = false;
  Clock::time_point release{}, next{};
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: print_relay LISTEN-SOCKET SERVICE-SOCKET pass|delay:MS|dribble:MS" << std::endl;
    return 2;
  }
  const std::string listenPath = argv[1], servicePath = argv[2], mode = argv[3];
  enum { kPass, kDelay, kDribble } kind = kPass;
  std::chrono::milliseconds step{0};
  if (mode.starts_with("delay:")) {
    kind = kDelay;
    step = std::chrono::milliseconds(std::stoi(mode.substr(6)));
  } else if (mode.starts_with("dribble:")) {
    kind = kDribble;
    step = std::chrono::milliseconds(std::stoi(mode.substr(8)));
  } else if (mode != "pass") {
    std::cerr << "print_relay: unknown mode " << mode << std::endl;
    return 2;
  }
  std::signal(SIGPIPE, SIG_IGN);

  const int listener = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  unlink(listenPath.c_str());
  const sockaddr_un listenAddress = Address(listenPath);
  if (listener < 0 || bind(listener, reinterpret_cast<const sockaddr*>(&listenAddress), sizeof listenAddress) != 0 ||
      listen(listener, 16) != 0) {
    std::cerr << "print_relay: cannot listen on " << listenPath << ": " << std::strerror(errno) << std::endl;
    return 1;
  }
  chmod(listenPath.c_str(), 0777);
  std::cout << "ready" << std::endl;

  std::list<Link> links;
  int taken = 0;
  char buffer[65536];
  for (;;) {
    const auto now = Clock::now();
    // Hands on what is due, and ends the links that are done.
    int timeout = -1;
    for (auto it = links.begin(); it != links.end();) {
      Link& link = *it;
      bool ok = true;
      if (!link.answers.empty() && (!link.held || now >= link.release)) {
        if (link.dribbling) {
          if (now >= link.next) {
            ok = WriteAll(link.client, link.answers.data(), 1);
            link.answers.erase(0, 1);
            link.next = now + step;
          }
        } else {
          ok = WriteAll(link.client, link.answers.data(), link.answers.size());
          link.answers.clear();
        }
      }
      if (!ok || (link.serviceEnded && link.answers.empty())) {
        close(link.client);
        close(link.service);
        it = links.erase(it);
        continue;
      }
      if (!link.answers.empty()) {
        const auto due = link.dribbling ? link.next : link.release;
        const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(due - now).count();
        const int ms = static_cast<int>(std::max<long long>(0, wait)) + 1;
        timeout = timeout < 0 ? ms : std::min(timeout, ms);
      }
      ++it;
    }

    std::vector<pollfd> fds{{listener, POLLIN, 0}};
    for (const Link& link : links) {
      fds.push_back({link.client, POLLIN, 0});
      fds.push_back({link.service, static_cast<short>(link.serviceEnded ? 0 : POLLIN), 0});
    }
    if (poll(fds.data(), fds.size(), timeout) < 0) {
      if (errno == EINTR) continue;
      std::cerr << "print_relay: poll: " << std::strerror(errno) << std::endl;
      return 1;
    }

    std::size_t i = 1;
    for (auto it = links.begin(); it != links.end(); i += 2) {
      Link& link = *it;
      bool ended = false;
      if (fds[i].revents & (POLLIN | POLLHUP | POLLERR)) {
        const ssize_t n = read(link.client, buffer, sizeof buffer);
        if (n <= 0) {
          ended = true;
        } else {
          if (kind == kDribble && !link.dribbling) {
            link.seen.append(buffer, static_cast<std::size_t>(n));
            if (link.seen.find(kJobMark) != std::string::npos) {
              link.dribbling = true;
              link.next = Clock::now();
              std::cout << "dribbling" << std::endl;
            } else if (link.seen.size() > kJobMark.size()) {
              link.seen.erase(0, link.seen.size() - kJobMark.size());
            }
          }
          ended = !WriteAll(link.service, buffer, static_cast<std::size_t>(n));
        }
      }
      if (!ended && (fds[i + 1].revents & (POLLIN | POLLHUP | POLLERR))) {
        const ssize_t n = read(link.service, buffer, sizeof buffer);
        if (n <= 0) {
          link.serviceEnded = true;
        } else {
          if (link.held && link.answers.empty() && link.release == Clock::time_point{}) {
            link.release = Clock::now() + step;
            std::cout << "held" << std::endl;
          }
          link.answers.append(buffer, static_cast<std::size_t>(n));
        }
      }
      if (ended) {
        close(link.client);
        close(link.service);
        it = links.erase(it);
      } else {
        ++it;
      }
    }

    if (fds[0].revents & POLLIN) {
      const int client = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
      if (client < 0) continue;
      const int service = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
      const sockaddr_un serviceAddress = Address(servicePath);
      if (service < 0 ||
          connect(service, reinterpret_cast<const sockaddr*>(&serviceAddress), sizeof serviceAddress) != 0) {
        std::cerr << "print_relay: cannot reach " << servicePath << ": " << std::strerror(errno) << std::endl;
        close(client);
        if (service >= 0) close(service);
        continue;
      }
      Link link;
      link.client = client;
      link.service = service;
      link.held = kind == kDelay && taken == 0;
      ++taken;
      links.push_back(std::move(link));
    }
  }
}
