// Notices between workstations on a real UDP stack. Broadcasts must never leave this machine, so
// every test here runs only inside a private network namespace that ctest creates for it (see
// tests/CMakeLists.txt); anywhere else they skip.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <arpa/inet.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>

#include "frontdesk/notices.h"
#include "halls/notice_listener.h"
#include "platform/platform.h"
#include "test_support.h"

namespace klt::test {
namespace {

using halls::OwnKey;
using halls::ViewKind;

// Only loopback (and our own test links) may exist: then nothing sent can reach a real network.
bool InPrivateNamespace() {
    const char* flag = std::getenv("KLT_NETNS_TEST");
    if (!flag || std::strcmp(flag, "1") != 0) return false;
    struct if_nameindex* list = if_nameindex();
    if (!list) return false;
    bool onlyOurs = true;
    for (struct if_nameindex* i = list; i->if_index != 0; ++i)
        if (std::strcmp(i->if_name, "lo") != 0 && std::strncmp(i->if_name, "kltv", 4) != 0) onlyOurs = false;
    if_freenameindex(list);
    return onlyOurs;
}

#define REQUIRE_PRIVATE_NAMESPACE() \
    if (!InPrivateNamespace()) GTEST_SKIP() << "runs only inside the test's own network namespace"

// A plain receiving socket, independent of the code under test.
struct Receiver {
    explicit Receiver(std::uint16_t port) {
        fd = ::socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(port);
        ok = ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
        timeval tv{0, 300000};
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    }
    ~Receiver() { ::close(fd); }
    // The next datagram and its source port; false when none came in time.
    bool Next(std::string& payload, std::uint16_t& sourcePort) {
        char buffer[2048];
        sockaddr_in from{};
        socklen_t n = sizeof from;
        ssize_t got = ::recvfrom(fd, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &n);
        if (got < 0) return false;
        payload.assign(buffer, static_cast<std::size_t>(got));
        sourcePort = ntohs(from.sin_port);
        return true;
    }
    void SendTo(std::uint16_t port, const std::string& bytes) const {
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        to.sin_port = htons(port);
        ::sendto(fd, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    }
    int fd;
    bool ok;
};

class Notices : public AddInFixture {
  protected:
    void SetUp() override {
        platform_.UseRealTime();
        Start("x");
    }
    // Turns the real loop until `done` or half a second has passed.
    static bool Pump(const std::function<bool()>& done) { return platform::Get().loop->RunUntil(done, 500); }
};

TEST_F(Notices, SendPutsTheExactTextOnTheWireFromPort888) {
    REQUIRE_PRIVATE_NAMESPACE();
    Receiver receiver(5000);
    ASSERT_TRUE(receiver.ok);
    host::Value desk = host().CreateObject("Vkusnica");
    ASSERT_TRUE(host().CallMethod(*desk.GetContext(), Cp("ПослатьВПорт"_cp),
                                  {host::Value(5000), host::Value(Cp("ИзЗала"_cp)), host::Value(3)},
                                  nullptr));
    std::string payload;
    std::uint16_t source = 0;
    ASSERT_TRUE(receiver.Next(payload, source));
    EXPECT_EQ(payload, Cp("ИзЗала_3"_cp));
    EXPECT_EQ(payload.size(), 8u);
    EXPECT_EQ(source, 888);

    ASSERT_TRUE(frontdesk::SendNotice(5000, Cp("ИзБара"_cp), -1));
    ASSERT_TRUE(receiver.Next(payload, source));
    EXPECT_EQ(payload, Cp("ИзБара_-1"_cp));
}

TEST_F(Notices, RefusedWithoutSendingWhenTooLongOrThePortIsNonsense) {
    REQUIRE_PRIVATE_NAMESPACE();
    Receiver receiver(5001);
    std::string name(97, 'x');  // "x…x_1" is 99 bytes: still fits
    EXPECT_TRUE(frontdesk::SendNotice(5001, name, 1));
    EXPECT_FALSE(frontdesk::SendNotice(5001, name, 12));
    EXPECT_FALSE(frontdesk::SendNotice(0, "a", 1));
    EXPECT_FALSE(frontdesk::SendNotice(70000, "a", 1));
    EXPECT_FALSE(frontdesk::SendNotice(-5, "a", 1));
    std::string payload;
    std::uint16_t source = 0;
    ASSERT_TRUE(receiver.Next(payload, source));
    EXPECT_EQ(payload.size(), 99u);
    EXPECT_FALSE(receiver.Next(payload, source)) << "nothing else went out";
}

TEST_F(Notices, ASendWhilePort888IsTakenFailsQuietly) {
    REQUIRE_PRIVATE_NAMESPACE();
    halls::NoticeSocket busy;
    ASSERT_TRUE(busy.StartListening(888, [](const std::string&) {}));
    EXPECT_FALSE(frontdesk::SendNotice(5002, "a", 1));
    host::Value desk = host().CreateObject("Vkusnica");
    EXPECT_TRUE(host().CallMethod(*desk.GetContext(), Cp("ПослатьВПорт"_cp),
                                  {host::Value(5002), host::Value(std::string("a")), host::Value(1)},
                                  nullptr))
        << "no run-time error reaches the configuration";
}

TEST_F(Notices, HallViewsReactOnlyToTheirOwnKey) {
    REQUIRE_PRIVATE_NAMESPACE();
    int hall3 = 0, hall13 = 0, bar3 = 0, monitor = 0;
    halls::NoticeSocket s3, s13, sb3, sm;
    auto view = [](ViewKind kind, int number, int& hits) {
        return [key = OwnKey(kind, number), &hits](const std::string& t) {
            if (t == key) ++hits;
        };
    };
    // Each view binds its own port here; on one computer only one socket may own a port.
    ASSERT_TRUE(s3.StartListening(5010, view(ViewKind::Hall, 3, hall3)));
    ASSERT_TRUE(s13.StartListening(5011, view(ViewKind::Hall, 13, hall13)));
    ASSERT_TRUE(sb3.StartListening(5012, view(ViewKind::Bar, 3, bar3)));
    ASSERT_TRUE(sm.StartListening(5013, [&](const std::string&) { ++monitor; }));
    for (int port : {5010, 5011, 5012}) {
        ASSERT_TRUE(frontdesk::SendNotice(port, Cp("ИзЗала"_cp), 3));
        ASSERT_TRUE(frontdesk::SendNotice(port, Cp("ИзЗала"_cp) + "_0", 3));  // no match anywhere
    }
    Receiver raw(0);
    raw.SendTo(5010, Cp("ИзЗала_03"_cp));  // a leading zero is another text
    raw.SendTo(5013, "");                  // the monitor refreshes even on an empty datagram
    Pump([&] { return hall3 == 1 && monitor == 1; });
    Pump([] { return false; });  // let anything late arrive
    EXPECT_EQ(hall3, 1);
    EXPECT_EQ(hall13, 0);
    EXPECT_EQ(bar3, 0);
    EXPECT_EQ(monitor, 1);
    EXPECT_EQ(OwnKey(ViewKind::Bar, -1), Cp("ИзБара_-1"_cp));
}

TEST_F(Notices, OversizedDatagramsAreDroppedAndTextEndsAtZeroByte) {
    REQUIRE_PRIVATE_NAMESPACE();
    std::vector<std::string> got;
    halls::NoticeSocket s;
    ASSERT_TRUE(s.StartListening(5020, [&](const std::string& t) { got.push_back(t); }));
    Receiver raw(0);
    raw.SendTo(5020, std::string(1025, 'a'));
    raw.SendTo(5020, std::string(1024, 'b'));
    raw.SendTo(5020, std::string("ab\0cd", 5));
    Pump([&] { return got.size() == 2; });
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0], std::string(1024, 'b'));
    EXPECT_EQ(got[1], "ab");
}

// A window that closes on a notice stops its socket from inside the handler, with more notices
// still queued: nothing more is delivered, and nothing of the closed socket is read.
TEST_F(Notices, AHandlerMayStopItsOwnSocket) {
    REQUIRE_PRIVATE_NAMESPACE();
    int calls = 0;
    halls::NoticeSocket s;
    ASSERT_TRUE(s.StartListening(5025, [&](const std::string&) {
        ++calls;
        s.Stop();
    }));
    Receiver raw(0);
    for (int i = 0; i < 3; ++i) raw.SendTo(5025, "n");
    Pump([&] { return calls > 0; });
    Pump([] { return false; });
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(s.Listening());
}

TEST_F(Notices, AFloodLeavesTheLoopResponsive) {
    REQUIRE_PRIVATE_NAMESPACE();
    long received = 0;
    halls::NoticeSocket s;
    ASSERT_TRUE(s.StartListening(5030, [&](const std::string&) { ++received; }));
    Receiver raw(0);
    for (int i = 0; i < 10000; ++i) raw.SendTo(5030, "flood_" + std::to_string(i));
    // A timer due now must fire within the next few turns even with the socket full.
    bool ticked = false;
    platform::Loop* loop = platform::Get().loop;
    platform::TimerId t = loop->StartTimer(1, [&](platform::TimerId) { ticked = true; });
    EXPECT_TRUE(loop->RunUntil([&] { return ticked; }, 2000));
    loop->StopTimer(t);
    EXPECT_LT(received, 10000) << "the timer came before the whole flood was read";
    Pump([] { return false; });
    EXPECT_GT(received, 0);
    EXPECT_LE(received, 10000);
}

// One side of the two-workstation run (tests/netns/two_workstations.sh): the sender announces a
// change of hall 2, the listener waits for its own key on the other namespace.
TEST_F(Notices, WorkstationRole) {
    REQUIRE_PRIVATE_NAMESPACE();
    const char* role = std::getenv("KLT_ROLE");
    if (!role) GTEST_SKIP() << "only as one side of the two-workstation run";
    if (std::strcmp(role, "send") == 0) {
        host::Value desk = host().CreateObject("Vkusnica");
        for (int i = 0; i < 20; ++i) {  // bounded: the listener may still be starting
            ASSERT_TRUE(host().CallMethod(*desk.GetContext(), Cp("ПослатьВПорт"_cp),
                                          {host::Value(5050), host::Value(Cp("ИзЗала"_cp)), host::Value(2)},
                                          nullptr));
            ::usleep(100000);
        }
    } else {
        int refreshed = 0;
        halls::NoticeSocket s;
        ASSERT_TRUE(s.StartListening(5050, [&, key = OwnKey(ViewKind::Hall, 2)](const std::string& t) {
            if (t == key) ++refreshed;
        }));
        std::ofstream(std::getenv("KLT_READY")) << "ready\n";
        platform::Get().loop->RunUntil([&] { return refreshed > 0; }, 5000);
        EXPECT_GT(refreshed, 0) << "no notice arrived from the other workstation";
    }
}

}  // namespace
}  // namespace klt::test
#endif
