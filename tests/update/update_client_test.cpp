// The update client against a loopback HTTP server: exact requests, the table rules, downloads
// that succeed or fail in each way, the comparison of installed files and the replacement.
#include <gtest/gtest.h>

#include "app_harness.h"
#include "core/md5.h"
#include "core/update_rules.h"
#include "offer_server.h"
#include "platform/process.h"
#include "support/err_log.h"
#include "update/http_client.h"
#include "update/upd_progress.h"

using namespace kt;

namespace {
std::string Row(int id, const std::string& name, const std::string& version, const std::string& md5,
                const std::string& max = "100") {
  return OfferRow(id, name, version, md5, max);
}
std::string Today() { return TodayText(); }
std::string DoubleDigest(const std::string& s) { return DoubleDigestOf(s); }

// The launcher's windows, an update window and a server that offers some files.
struct UpdateFixture : testing::Test {
  AppHarness app;
  TempDir temp;
  OfferServer offer;
  std::vector<std::string>& table = offer.table;
  std::function<HttpReply(const HttpRequest&)>& override = offer.override;
  OfferServer* server = &offer;
  std::unique_ptr<Tfm_UPD_PROGRESS> window;

  void SetUp() override {
    SetEnvironmentVariableW(L"TMP", temp.Path().substr(0, temp.Path().size() - 1).c_str());
    app.Start();
    app.form().IdHTTP1->BaseAddress = offer.BaseAddress();
    app.form().IdHTTP1->ReadTimeoutMs = 1500;
    window = std::make_unique<Tfm_UPD_PROGRESS>(app.form().Handle());
    fm_UPD_PROGRESS = window.get();
    window->TRGT_PRODUCT_ID = L"10001";
    window->TRGT_COUNTRY_NAME = L"POLAND";
  }
  void TearDown() override {
    SetEnvironmentVariableW(L"TMP", nullptr);
    fm_UPD_PROGRESS = nullptr;
    window.reset();
  }
  void Offer(int id, const std::string& name, const std::string& version, const std::string& bytes,
             std::string md5 = "") {
    offer.Offer(id, name, version, bytes, md5);
  }

  bool Probe() { return window->CHECK_INTERNET() && window->GET_UPDATE_TABLE(); }
};
}  // namespace

TEST_F(UpdateFixture, ProbeAndTableQueryCarryTheFixedHeadersCookieAndKey) {
  Offer(1, "Orvalis.dll", "1.2.0.0", "abc");
  Offer(2, "Saldrin.dll", "1.0.0.0", "def");
  override = [](const HttpRequest& r) -> HttpReply {
    if (r.method == "GET") return {200, " \t TOKEN42 \r\n", {{"Set-Cookie", "sid=s1; path=/"}}};
    return {0, ""};
  };
  ASSERT_TRUE(window->CHECK_INTERNET());
  EXPECT_EQ(SERVER_TOKEN, L"TOKEN42");
  ASSERT_TRUE(window->GET_UPDATE_TABLE());
  EXPECT_EQ(UPDATE_TABLE->size(), 2u);
  auto requests = server->Requests();
  ASSERT_EQ(requests.size(), 2u);
  for (const auto& r : requests) {
    EXPECT_EQ(r.version, "HTTP/1.0");
    EXPECT_EQ(r.Header("Accept"), "text/html, */*");
    EXPECT_EQ(r.Header("Accept-Charset"), "utf-8");
    EXPECT_EQ(r.Header("Accept-Encoding"), "utf-8");
    EXPECT_EQ(r.Header("User-Agent"), "Mozilla/3.0 (compatible; Indy Library)");
  }
  EXPECT_EQ(requests[0].method, "GET");
  EXPECT_EQ(requests[0].target, "/index.php");
  EXPECT_EQ(requests[1].method, "POST");
  EXPECT_NE(requests[1].Header("Cookie").find("sid=s1"), std::string::npos);
  auto fields = requests[1].FormFields();
  ASSERT_EQ(fields.size(), 1u);
  EXPECT_EQ(fields[0].first, "key");
  EXPECT_EQ(fields[0].second, DoubleDigest("Pet sinkavi kozi!TOKEN42"));
  EXPECT_NE(requests[1].body.find("Content-Type: text/plain\r\nContent-Transfer-Encoding: quoted-printable"),
            std::string::npos);
}

TEST_F(UpdateFixture, AnAnswerOfAHundredCharactersIsNoTable) {
  for (auto [size, isTable] : {std::pair{100, false}, {101, true}}) {
    override = [size = size](const HttpRequest& r) -> HttpReply {
      if (r.method == "POST") return {200, std::string(static_cast<size_t>(size), 'x')};
      return {0, ""};
    };
    EXPECT_EQ(Probe(), isTable) << size;
  }
  override = [](const HttpRequest&) -> HttpReply { return {200, ""}; };
  EXPECT_FALSE(window->CHECK_INTERNET()) << "an empty token";
}

TEST_F(UpdateFixture, ADownloadAsksForTheRowThenTheFileWithTheFieldsInOrder) {
  Offer(57, "Orvalis.dll", "2.0.0.0", std::string(300000, 'Q'));
  Offer(58, "Orvalis.dll.bak", "1.0.0.0", "x");
  ASSERT_TRUE(Probe());
  window->GET_FILEVERSION(app.PluginDir() + L"Orvalis.dll");  // missing: compared by checksum
  std::wstring tempPath;
  ASSERT_TRUE(window->DOWNLOADTHIS_1(L"10001", L"POLAND", L"Orvalis.dll", tempPath));
  EXPECT_EQ(tempPath, temp / L"Orvalis.dll");
  EXPECT_EQ(ReadBytes(tempPath), std::string(300000, 'Q'));
  auto requests = server->Requests();
  ASSERT_EQ(requests.size(), 4u);
  auto perFile = requests[2].FormFields();
  ASSERT_EQ(perFile.size(), 2u);
  EXPECT_EQ(perFile[1].first, "filename");
  EXPECT_EQ(perFile[1].second, DoubleDigest("Orvalis.dll" + Today()));
  EXPECT_EQ(requests[3].target, "/file.php?id=57");
  std::vector<std::string> names;
  for (auto& [k, v] : requests[3].FormFields()) names.push_back(k);
  EXPECT_EQ(names, (std::vector<std::string>{"key", "filename", "key", "key", "id"}));
  EXPECT_EQ(requests[3].FormFields()[4].second, "57");
  EXPECT_EQ(window->gau_2_.Position(), 60);
}

TEST_F(UpdateFixture, AOneRowTableIsTheRowWithoutAPerFileQuery) {
  Offer(5, "Saldrin.dll", "1.0.0.0", "bytes");
  Offer(6, "Other.dll", "1.0.0.0", "x");
  ASSERT_TRUE(Probe());
  UPDATE_TABLE->resize(1);
  window->GET_FILEVERSION(app.PluginDir() + L"Saldrin.dll");
  ASSERT_TRUE(window->DOWNLOAD_FILE(L"Saldrin.dll"));
  auto requests = server->Requests();
  ASSERT_EQ(requests.size(), 3u);
  std::vector<std::string> names;
  for (auto& [k, v] : requests[2].FormFields()) names.push_back(k);
  EXPECT_EQ(names, (std::vector<std::string>{"key", "key", "id"}));
}

TEST_F(UpdateFixture, FailedTransfersAreNeverADownload) {
  struct Case {
    const char* name;
    HttpReply reply;
  } cases[] = {
      {"error status", {500, "oops"}},
      {"cut body", {200, "short", {}, 100000}},
      {"silent server", {200, "late", {}, -1, 4000}},
      {"connection dropped", {200, "", {}, -1, 0, true}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    table.clear();
    Offer(9, "Kelvasto.dll", "3.0.0.0", "the real bytes");
    Offer(10, "Filler.dll", "1.0.0.0", "x");
    ASSERT_TRUE(Probe());
    override = [&](const HttpRequest& r) -> HttpReply {
      if (r.target == "/file.php?id=9") return c.reply;
      return {0, ""};
    };
    window->GET_FILEVERSION(app.PluginDir() + L"Kelvasto.dll");
    std::wstring tempPath;
    EXPECT_FALSE(window->DOWNLOADTHIS_1(L"10001", L"POLAND", L"Kelvasto.dll", tempPath));
    EXPECT_FALSE(Exists(temp / L"Kelvasto.dll"));
    override = nullptr;
  }
  EXPECT_NE(ReadBytes(app.LogFile()).find("REQUEST_FILE:"), std::string::npos);
}

TEST_F(UpdateFixture, ADownloadWithAnotherChecksumIsNotKept) {
  Offer(3, "Durnemar.dll", "2.0.0.0", "tampered", core::Md5Hex("original"));
  Offer(4, "Filler.dll", "1.0.0.0", "x");
  ASSERT_TRUE(Probe());
  window->GET_FILEVERSION(app.PluginDir() + L"Durnemar.dll");
  EXPECT_FALSE(window->DOWNLOAD_FILE(L"Durnemar.dll"));
  EXPECT_FALSE(Exists(temp / L"Durnemar.dll"));
  EXPECT_NE(ReadBytes(app.LogFile()).find("not installed"), std::string::npos);
  // The checksum compares regardless of the letter case of its digits.
  table.clear();
  std::string lower = core::Md5Hex("fine");
  for (auto& ch : lower) ch = static_cast<char>(tolower(ch));
  Offer(3, "Durnemar.dll", "2.0.0.0", "fine", lower);
  Offer(4, "Filler.dll", "1.0.0.0", "x");
  ASSERT_TRUE(Probe());
  EXPECT_TRUE(window->DOWNLOAD_FILE(L"Durnemar.dll"));
}

TEST_F(UpdateFixture, ARowWithoutIdentifierOrNotNewerRequestsNothing) {
  table = {Row(1, "Orvalis.dll", "1.0.0.0", "", "100"), Row(2, "Other", "1.0.0.0", "")};
  table[0].replace(table[0].find("id=1"), 4, "nothing");
  ASSERT_TRUE(Probe());
  window->GET_FILEVERSION(app.PluginDir() + L"missing.txt");
  LOCAL_FILE_STATE.localText = L"X";
  EXPECT_FALSE(window->DOWNLOAD_FILE(L"Orvalis.dll"));
  for (const auto& r : server->Requests()) EXPECT_EQ(r.target.find("file.php"), std::string::npos);
}

TEST_F(UpdateFixture, InstalledFilesAreReadByVersionOrChecksum) {
  CopyFileW(KC_BUILD_DIR L"\\src\\KestrumClient.exe", (app.ExeDir() + L"KestrumClient.exe").c_str(), FALSE);
  WriteBytes(app.ExeDir() + L"m.pdf", "abc");
  WriteBytes(app.ExeDir() + L"m.PDF.x", "abc");
  WriteBytes(app.ExeDir() + L"M.PDF", "abc");
  window->GET_FILEVERSION(app.ExeDir() + L"KestrumClient.exe");
  EXPECT_TRUE(LOCAL_FILE_STATE.byVersion);
  EXPECT_EQ(LOCAL_FILE_STATE.build, 49);
  window->GET_FILEVERSION(app.ExeDir() + L"m.pdf");
  EXPECT_FALSE(LOCAL_FILE_STATE.byVersion);
  EXPECT_EQ(LOCAL_FILE_STATE.localText, L"900150983CD24FB0D6963F7D28E17F72");
  window->GET_FILEVERSION(app.ExeDir() + L"M.PDF");
  EXPECT_TRUE(LOCAL_FILE_STATE.byVersion) << "the extension test counts letter case";
  EXPECT_EQ(LOCAL_FILE_STATE.major, 1);
  window->GET_FILEVERSION(app.ExeDir() + L"none.dll");
  EXPECT_FALSE(LOCAL_FILE_STATE.byVersion);
  EXPECT_EQ(LOCAL_FILE_STATE.localText, L"");
  // A bad version column: not newer, and a line in the error log.
  window->GET_FILEVERSION(app.ExeDir() + L"KestrumClient.exe");
  std::wstring row = L"\"1\",\"10001\",\"K\",\"\",\"\",\"9.9.9.9\",\"x\",\"0\",\"0\",\"0\",\"100\",\"\",\"\",\"\",\"\",\"\",\"id=1\",\"\"";
  EXPECT_FALSE(window->CHECK_NEWER(row));
  EXPECT_EQ(LOCAL_FILE_STATE.localText, L"1.0.0.49");
  EXPECT_NE(ReadBytes(app.LogFile()).find(":CHECK_BY_VERSION :"), std::string::npos);
}

TEST_F(UpdateFixture, ReplacementKeepsABackupUntilTheNewFileIsInPlace) {
  std::wstring installed = app.PluginDir() + L"Orvalis.dll", backup = app.PluginDir() + L"OLD_Orvalis.dll";
  CreateDirectoryW(app.PluginDir().c_str(), nullptr);
  WriteBytes(temp / L"new.dll", "new");
  // Replaced: no backup left.
  WriteBytes(installed, "old");
  EXPECT_TRUE(window->BACKUP_AND_REPLACE(installed, temp / L"new.dll"));
  EXPECT_EQ(ReadBytes(installed), "new");
  EXPECT_FALSE(Exists(backup));
  // Not installed yet: copied without a rename.
  DeleteFileW(installed.c_str());
  EXPECT_TRUE(window->BACKUP_AND_REPLACE(installed, temp / L"new.dll"));
  EXPECT_EQ(ReadBytes(installed), "new");
  // A leftover backup makes the rename fail: nothing changes.
  WriteBytes(installed, "old");
  WriteBytes(backup, "leftover");
  EXPECT_FALSE(window->BACKUP_AND_REPLACE(installed, temp / L"new.dll"));
  EXPECT_EQ(ReadBytes(installed), "old");
  DeleteFileW(backup.c_str());
  // A copy that fails puts the previous file back.
  EXPECT_FALSE(window->BACKUP_AND_REPLACE(installed, temp / L"missing.dll"));
  EXPECT_EQ(ReadBytes(installed), "old");
  EXPECT_FALSE(Exists(backup));
}

TEST_F(UpdateFixture, GaugesMoveUpOnlyHideBelowOneAndStopAtTheirMaximum) {
  Tfm_MAIN_FORM& f = app.form();
  ui::Gauge& g = window->gau_2_;
  ui::Label& l = window->lb_GAU2MESS;
  f.SET_GAUMESSAGE(&g, &l, window.get(), 40, L"forty");
  EXPECT_EQ(g.Position(), 40);
  EXPECT_TRUE(g.Visible() && l.Visible());
  EXPECT_EQ(l.Caption(), L"forty");
  f.SET_GAUMESSAGE(&g, &l, window.get(), 20, L"lower");
  EXPECT_EQ(g.Position(), 40) << "never back";
  EXPECT_EQ(l.Caption(), L"lower");
  f.SET_GAUMESSAGE(&g, &l, window.get(), -3, L"");
  EXPECT_EQ(g.Position(), 0);
  EXPECT_FALSE(g.Visible() || l.Visible());
  f.SET_GAUMESSAGE(&g, &l, window.get(), 1, L"again");
  EXPECT_TRUE(g.Visible());
  EXPECT_EQ(g.Position(), 1);
  g.SetMax(30);
  f.SET_GAUMESSAGE(&g, &l, window.get(), 60, L"capped");
  EXPECT_EQ(g.Position(), 30);
  f.SET_GAUMESSAGE(&g, &l, window.get(), 100, L"full");
  EXPECT_EQ(g.Position(), 30);
  g.SetMax(100);
  f.SET_GAUMESSAGE(&g, &l, window.get(), 250, L"full");
  EXPECT_EQ(g.Position(), 100);
  f.SET_GAUMESSAGE(nullptr, &l, window.get(), 50, L"ignored");
  EXPECT_EQ(l.Caption(), L"full");
}

TEST_F(UpdateFixture, TheWindowClosesOnlyWhenItsWorkHasEnded) {
  EXPECT_FALSE(window->FormCloseQuery());
  SendMessageW(window->Handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(window->Exists());
  EXPECT_EQ(window->Caption(), L"Check for updates");
  EXPECT_EQ(window->Timer1.Interval(), 300u);
  // Usage tu_UNKNOWN fills both gauges once and closes by itself.
  window->TRGT_USAGE = tu_UNKNOWN;
  DWORD start = GetTickCount();
  window->ShowModal(app.form().Handle());
  EXPECT_TRUE(window->ToClose);
  EXPECT_GE(GetTickCount() - start, 1000u) << "two fills of about a second";
  EXPECT_FALSE(window->gau_1_.Visible());
}
