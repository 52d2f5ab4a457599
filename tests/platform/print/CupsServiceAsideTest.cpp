// With the print service set aside (the host printing to its own queues or
// to PDF), a printer that is nowhere is reported as not registered, and the
// service is never asked: a listening socket stands where the service would
// be and sees no connection.
#include "tests/platform/print/PrintTestSupport.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#include "platform/print/CupsQueue.h"

namespace printtest {
namespace {

// A Unix socket that listens and never answers; counts who knocked.
class ListeningSocket {
public:
    explicit ListeningSocket(const std::string& path) : m_path(path)
    {
        m_fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address = {};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
        m_ok = m_fd >= 0 && ::bind(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
               ::listen(m_fd, 8) == 0;
    }
    ~ListeningSocket()
    {
        if (m_fd >= 0) ::close(m_fd);
        ::unlink(m_path.c_str());
    }
    bool Ok() const { return m_ok; }
    // Whether a connection waits to be taken.
    bool Knocked() const
    {
        pollfd waiting = {m_fd, POLLIN, 0};
        return ::poll(&waiting, 1, 0) > 0;
    }
    // Takes one waiting connection and closes it.
    void Dismiss() const
    {
        const int client = ::accept(m_fd, nullptr, nullptr);
        if (client >= 0) ::close(client);
    }

private:
    std::string m_path;
    int m_fd = -1;
    bool m_ok = false;
};

class CupsServiceAsideTest : public PrintTest {
protected:
    void SetUp() override
    {
        PrintTest::SetUp();
        m_socketPath = m_dir.File("cups.sock");
        m_socket.reset(new ListeningSocket(m_socketPath));
        ASSERT_TRUE(m_socket->Ok());
        m_server.reset(new ScopedEnv("CUPS_SERVER", m_socketPath));
    }
    void TearDown() override
    {
        m_server.reset();
        m_socket.reset();
        PrintTest::TearDown();
    }

    std::string m_socketPath;
    std::unique_ptr<ListeningSocket> m_socket;
    std::unique_ptr<ScopedEnv> m_server;
};

}  // namespace

TEST_F(CupsServiceAsideTest, AnUnknownPrinterIsReportedAsNotRegisteredWithoutAskingTheService)
{
    AddPrinter(L"Spooled");
    {
        platform::print::PrintServiceAside aside;
        EXPECT_EQ(std::wstring(L"登録されたプリンターにありません"),
                  platform::print::MissingPrinterCause(L"どこにもないプリンター"));
        EXPECT_FALSE(m_socket->Knocked()) << "the service set aside was asked";
        // A registered printer is no failure.
        EXPECT_EQ(std::wstring(), platform::print::MissingPrinterCause(L"Spooled"));
        // Nor does anything else ask it.
        platform::print::PrinterConfig printer;
        EXPECT_FALSE(platform::print::FindCupsPrinter(L"どこにもないプリンター", printer));
        EXPECT_TRUE(platform::print::ListCupsPrinters().empty());
        EXPECT_EQ(std::wstring(), platform::print::CupsDefaultPrinterName());
        EXPECT_FALSE(m_socket->Knocked()) << "the service set aside was asked";
    }
    // The socket does see a client that knocks.
    const int client = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(client, 0);
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, m_socketPath.c_str(), sizeof(address.sun_path) - 1);
    EXPECT_EQ(0, ::connect(client, reinterpret_cast<sockaddr*>(&address), sizeof(address)));
    EXPECT_TRUE(m_socket->Knocked());
    m_socket->Dismiss();
    ::close(client);
}

TEST_F(CupsServiceAsideTest, SetAsideTwiceTheServiceStaysAsideUntilTheLastLets)
{
    auto outer = std::make_unique<platform::print::PrintServiceAside>();
    {
        platform::print::PrintServiceAside inner;
    }
    EXPECT_EQ(std::wstring(L"登録されたプリンターにありません"),
              platform::print::MissingPrinterCause(L"どこにもないプリンター"));
    EXPECT_FALSE(m_socket->Knocked());
    outer.reset();
}

}  // namespace printtest
