#include "FetchTestSupport.h"
#include "HttpClient.h"
#include "Settings.h"
#include "TinyProxy.h"

#include <string>

namespace zelmox::test {
namespace {

// An origin page that tells proxied requests (tinyproxy's Via header) from direct ones.
class ProxyTest : public WebFetchTest {
protected:
    void SetUp() override {
        Answer("/page", 200, "origin page");
        Serve();
    }

    // Whether each request for the page so far came through the proxy, oldest first.
    std::vector<bool> ViaProxy() const {
        std::vector<bool> proxied;
        for (const httplib::Headers& headers : requests_.Headers("/page")) {
            const auto via = HeaderValues(headers, "Via");
            proxied.push_back(via.size() == 1 &&
                              via[0].find(TinyProxy::ViaName) != std::string::npos);
        }
        return proxied;
    }

    static TSettings ProxySettings(int port, bool basicAuthentication, const std::string& user,
                                   const std::string& password) {
        TSettings settings;
        settings.UseProxySettings = true;
        settings.ProxyServer = "127.0.0.1";
        settings.ProxyPort = port;
        settings.BasicAuthentication = basicAuthentication;
        settings.ProxyUsername = user;
        settings.ProxyPassword = password;
        return settings;
    }
};

TEST_F(ProxyTest, RightCredentialsGetThroughTheProxy) {
    TinyProxy proxy("watcher", "s3cret");
    ASSERT_TRUE(proxy.Start()) << proxy.Log();
    ApplyConnectionSettings(client_, ProxySettings(proxy.Port(), true, "watcher", "s3cret"));

    EXPECT_TRUE(Succeeded(Fetch(client_, Url("/page")), "origin page")) << proxy.Log();
    EXPECT_EQ(ViaProxy(), std::vector<bool>{true});
    EXPECT_GE(proxy.RequestCount(), 1);
}

TEST_F(ProxyTest, WrongOrUnsentCredentialsFail) {
    TinyProxy proxy("watcher", "s3cret");
    ASSERT_TRUE(proxy.Start()) << proxy.Log();
    struct Case {
        const char* name;
        TSettings settings;
    };
    const Case cases[] = {
        {"wrong password", ProxySettings(proxy.Port(), true, "watcher", "guess")},
        {"wrong user", ProxySettings(proxy.Port(), true, "someone", "s3cret")},
        {"authentication off", ProxySettings(proxy.Port(), false, "watcher", "s3cret")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HttpClient client;
        ApplyConnectionSettings(client, c.settings);
        EXPECT_TRUE(Failed(Fetch(client, Url("/page"))));
    }
    EXPECT_EQ(requests_.Count("/page"), 0);
    EXPECT_GE(proxy.RequestCount(), 3);
}

TEST_F(ProxyTest, EmptyProxyServerMeansDirect) {
    TinyProxy proxy;
    ASSERT_TRUE(proxy.Start()) << proxy.Log();
    TSettings settings = ProxySettings(proxy.Port(), false, "", "");
    settings.ProxyServer.clear();
    ApplyConnectionSettings(client_, settings);

    EXPECT_TRUE(Succeeded(Fetch(client_, Url("/page")), "origin page"));
    EXPECT_EQ(ViaProxy(), std::vector<bool>{false});
    EXPECT_EQ(proxy.RequestCount(), 0);
}

TEST_F(ProxyTest, SwitchingTheProxyOffConnectsDirectly) {
    TinyProxy proxy;
    ASSERT_TRUE(proxy.Start()) << proxy.Log();
    TSettings settings = ProxySettings(proxy.Port(), false, "", "");
    ApplyConnectionSettings(client_, settings);
    ASSERT_TRUE(Succeeded(Fetch(client_, Url("/page")), "origin page")) << proxy.Log();

    // The server stays stored; only the switch changes.
    settings.UseProxySettings = false;
    ApplyConnectionSettings(client_, settings);
    EXPECT_TRUE(Succeeded(Fetch(client_, Url("/page")), "origin page"));
    EXPECT_EQ(ViaProxy(), (std::vector<bool>{true, false}));
    EXPECT_EQ(proxy.RequestCount(), 1);
}

} // namespace
} // namespace zelmox::test
