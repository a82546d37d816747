#include <gtest/gtest.h>

#include "platform/web/HttpClient.h"
#include "tests/app/LocalHttpServer.h"

namespace tessaly {
namespace {

using testing::LocalHttpServer;

TEST(CurlHttpClient, ReturnsTheBodyCutAtTheCap)
{
    LocalHttpServer server;
    const std::string big(5000, 'x');
    server.route("/small", {200, "6.7\r"});
    server.route("/big", {200, big});
    CurlHttpClient http;

    const HttpReply small = http.get(server.url() + "/small", HttpLimits{2048});
    ASSERT_TRUE(small.ok) << small.error;
    EXPECT_EQ(small.status, 200);
    EXPECT_EQ(small.body, "6.7\r");

    const HttpReply capped = http.get(server.url() + "/big", HttpLimits{2048});
    ASSERT_TRUE(capped.ok) << capped.error;
    EXPECT_EQ(capped.body, big.substr(0, 2048));

    const HttpReply whole = http.get(server.url() + "/big", HttpLimits{});
    ASSERT_TRUE(whole.ok) << whole.error;
    EXPECT_EQ(whole.body.size(), big.size());
}

TEST(CurlHttpClient, ReportsEveryFailureWithAText)
{
    LocalHttpServer server;
    server.route("/gone", {404, "404 Not Found"});
    server.route("/broken", {500, "7.0"});
    server.route("/hang", {200, "", true});
    CurlHttpClient http;
    HttpLimits quick{2048, 300, 400};

    struct Case {
        const char* what;
        std::string url;
        long status;
    };
    const Case cases[] = {
        {"error status", server.url() + "/gone", 404},
        {"server error", server.url() + "/broken", 500},
        {"nothing listening", testing::closedPortUrl() + "/x", 0},
        {"server never answers", server.url() + "/hang", 0},
        {"not an http address", "file:///etc/hostname", 0},
        {"malformed address", "http://", 0},
    };
    for (const Case& c : cases) {
        const HttpReply reply = http.get(c.url, quick);
        EXPECT_FALSE(reply.ok) << c.what;
        EXPECT_FALSE(reply.error.empty()) << c.what;
        EXPECT_TRUE(reply.body.empty()) << c.what << ": an error page must not pass as the file";
        EXPECT_EQ(reply.status, c.status) << c.what;
    }
}

} // namespace
} // namespace tessaly
