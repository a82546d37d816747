// The house's crash report inbox on a real web port, fed by the shared
// libcurl upload: the stored fields and file parts of an upload, the id in
// the answer, and the requests it refuses without storing anything.

#include <gtest/gtest.h>

#include <httplib.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/web/HttpUpload.h"
#include "server/web/CrashReportInbox.h"
#include "server/web/WebServer.h"

namespace tessaly::house {
namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class Inbox : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = fs::temp_directory_path() / ("crash-inbox-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_ / "www");
    }
    void TearDown() override { fs::remove_all(root_); }

    std::vector<fs::path> stored() const
    {
        std::vector<fs::path> folders;
        if (fs::exists(root_ / "crash-reports"))
            for (const auto& entry : fs::directory_iterator(root_ / "crash-reports"))
                folders.push_back(entry.path());
        return folders;
    }

    fs::path root_;
};

TEST_F(Inbox, StoresTheFieldsAndFilePartsOfAnUploadAndAnswersItsId)
{
    WebServer web((root_ / "www").string(), [] { return std::string(); });
    web.acceptCrashReports((root_ / "crash-reports").string());
    const int port = web.start("127.0.0.1", 0);

    const std::string dump = std::string("MDMP\0\0\x93\xa7", 8) + std::string(300000, '\x01');
    HttpPostRequest request;
    request.url = "http://127.0.0.1:" + std::to_string(port) + "/crash-report";
    request.parts = {
        {"upload_file_minidump", dump, "CRASH.DMP", "application/octet-stream"},
        {"upload_file_report", "Tessaly caused an Access Violation\r\n", "ERRORLOG.TXT", "text/plain"},
        {"prod", "Tessaly", "", ""},
        {"ver", "6.7", "", ""},
        {"guid", "0f8fad5b-d9cb-469f-a165-70867728950e", "", ""},
        {"comments", "raised \\ all in\r\nthen \x01 it closed", "", ""},
    };
    const HttpReply reply = CurlHttpUpload().post(request);
    ASSERT_TRUE(reply.ok) << reply.error;
    const std::string id = reply.body.substr(0, reply.body.find('\n'));
    EXPECT_EQ(reply.body, id + "\n");
    EXPECT_TRUE(std::all_of(id.begin(), id.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '-'; }))
        << id;

    ASSERT_EQ(stored().size(), 1u);
    const fs::path folder = root_ / "crash-reports" / id;
    EXPECT_EQ(readFile(folder / "fields.txt"), "prod=Tessaly\nver=6.7\nguid=0f8fad5b-d9cb-469f-a165-70867728950e\n"
                                               "comments=raised \\\\ all in\\r\\nthen \\x01 it closed\n");
    EXPECT_EQ(readFile(folder / "upload_file_minidump"), dump);
    EXPECT_EQ(readFile(folder / "upload_file_report"), "Tessaly caused an Access Violation\r\n");

    // A second report gets a folder and an id of its own.
    const HttpReply second = CurlHttpUpload().post(request);
    ASSERT_TRUE(second.ok) << second.error;
    EXPECT_NE(second.body, reply.body);
    EXPECT_EQ(stored().size(), 2u);
}

TEST_F(Inbox, RefusesWhatIsNoReportAndStoresNothing)
{
    httplib::Server server;
    CrashReportInbox inbox((root_ / "crash-reports").string());
    addCrashReportRoute(server, inbox, 4096);
    const int port = server.bind_to_any_port("127.0.0.1");
    std::thread serving([&] { server.listen_after_bind(); });
    const std::string url = "http://127.0.0.1:" + std::to_string(port) + "/crash-report";

    struct Case {
        const char* what;
        std::vector<HttpFormPart> parts;
        long status;
    };
    const Case cases[] = {
        {"over the limit", {{"upload_file_minidump", std::string(5000, 'x'), "CRASH.DMP", ""}}, 413},
        {"a part name that is a path", {{"../fields", "x", "a.txt", ""}}, 400},
        {"a file part twice", {{"upload_file_minidump", "a", "A.DMP", ""}, {"upload_file_minidump", "b", "B.DMP", ""}}, 400},
        {"more parts than allowed", std::vector<HttpFormPart>(kCrashReportMaxParts + 1, HttpFormPart{"f", "v", "", ""}), 400},
    };
    for (const Case& c : cases) {
        HttpPostRequest request;
        request.url = url;
        request.parts = c.parts;
        const HttpReply reply = CurlHttpUpload().post(request);
        EXPECT_FALSE(reply.ok) << c.what;
        EXPECT_EQ(reply.status, c.status) << c.what;
    }
    httplib::Client plain("127.0.0.1", port);
    const auto notAForm = plain.Post("/crash-report", "prod=Tessaly", "application/x-www-form-urlencoded");
    ASSERT_TRUE(notAForm);
    EXPECT_EQ(notAForm->status, 400);

    server.stop();
    serving.join();
    EXPECT_TRUE(stored().empty());
}

} // namespace
} // namespace tessaly::house
