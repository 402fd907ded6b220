#include "AppFixture.h"

#include <QApplication>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "catalogue/ContactProfile.h"
#include "device/Telegram.h"
#include "platform/Paths.h"

namespace roviro::test {

int ScreenLog::Count(const std::string& event) const {
  int n = 0;
  for (const auto& e : events) n += e == event ? 1 : 0;
  return n;
}

TestScreen::TestScreen(CVQZodavaRozeDlg* dlg, int id, ScreenLog* log, bool failCreate)
    : CScreenDefaults(dlg, id, id == 2 ? 1 : id, id == 2 ? 3 : id),
      m_log(log),
      m_failCreate(failCreate) {
  LoadDescription(30);
  m_log->events.push_back("construct " + std::to_string(id));
}

TestScreen::~TestScreen() { m_log->events.push_back("destroy " + std::to_string(m_screenId)); }

HResult TestScreen::Create() {
  m_log->events.push_back("create " + std::to_string(m_screenId));
  const HResult r = CScreenDefaults::Create();
  return m_failCreate ? E_FAIL : r;
}

HResult TestScreen::TakeControls() {
  CMyButton* button = m_dlg->Pools().buttonsA.Take(0);
  QPlainTextEdit* edit = m_dlg->Pools().edits.Take(0);
  button->setGeometry(100, 100, 64, 64);
  button->show();
  edit->setGeometry(100, 200, 200, 24);
  edit->show();
  m_focusTable[0] = button;
  m_focusTable[1] = edit;
  return S_OK;
}

void TestScreen::UpdateControls() {
  m_log->events.push_back("update " + std::to_string(m_screenId));
}

int TestScreen::OnWindowMessage(std::uint32_t msg, std::uintptr_t, std::intptr_t, std::intptr_t*) {
  m_log->events.push_back("msg " + std::to_string(msg));
  return 0;
}

void TestScreen::OnLeave() { m_log->events.push_back("leave " + std::to_string(m_screenId)); }
void TestScreen::OnEnter() { m_log->events.push_back("enter " + std::to_string(m_screenId)); }
void TestScreen::OnTimer(unsigned id) { m_log->events.push_back("timer " + std::to_string(id)); }
void TestScreen::OnDeviceFrame(const Telegram* frame) {
  char text[32];
  std::snprintf(text, sizeof(text), "frame %02X %02X", frame->m_command, frame->m_subCode);
  m_log->events.push_back(text);
}
void TestScreen::OnButtonClicked(QWidget*) {
  m_log->events.push_back("button");
  if (onButton) onButton(*this);
}
void TestScreen::OnEditChange(QWidget*) { m_log->events.push_back("edit"); }
void TestScreen::OnComboSelChange(QWidget* focus) {
  const int i = m_dlg->Pools().combos.IndexOf(focus);
  m_log->events.push_back("combo " + m_dlg->Pools().comboTexts[i]);
  // What the screen leaves in the variable is selected in the control afterwards.
  m_dlg->Pools().comboTexts[i] = "Drei";
}
void TestScreen::OnHScroll(unsigned code, unsigned position, QWidget*, QWidget*) {
  m_log->events.push_back("hscroll " + std::to_string(code) + " " + std::to_string(position));
}
void TestScreen::OnVScroll(unsigned code, unsigned position, QWidget*, QWidget*) {
  m_log->events.push_back("vscroll " + std::to_string(code) + " " + std::to_string(position));
}
void TestScreen::OnListItemSelected(ListViewNotify* n, std::intptr_t*, QTreeWidget*) {
  m_log->events.push_back("selected " + std::to_string(n->item));
}
void TestScreen::OnListItemUnselecting(ListViewNotify* n, std::intptr_t*, QTreeWidget*) {
  m_log->events.push_back("unselecting " + std::to_string(n->item));
}
void TestScreen::OnCustomDraw(NotifyHeader* header, std::intptr_t* result, QWidget*) {
  const auto* n = reinterpret_cast<const CustomDrawNotify*>(header);
  m_log->events.push_back("draw " + std::to_string(n->drawStage) + " " +
                          std::to_string(header->id) + (n->dc != nullptr ? " dc" : ""));
  *result = drawAnswer;
}
void TestScreen::StoreValues() { m_log->events.push_back("store " + std::to_string(m_screenId)); }

namespace {
constexpr const char* kLocaleNames[3] = {"LC_ALL", "LC_MESSAGES", "LANG"};
void SetLocaleVariable(int i, const char* value) {
  if (value != nullptr) {
    setenv(kLocaleNames[i], value, 1);
  } else {
    unsetenv(kLocaleNames[i]);
  }
}
}  // namespace

ScopedLocale::ScopedLocale(const char* all, const char* messages, const char* lang) {
  for (int i = 0; i < 3; ++i) {
    if (const char* old = std::getenv(kLocaleNames[i]); old != nullptr) m_saved[i] = old;
  }
  SetLocaleVariable(0, all);
  SetLocaleVariable(1, messages);
  SetLocaleVariable(2, lang);
}

ScopedLocale::~ScopedLocale() {
  for (int i = 0; i < 3; ++i) SetLocaleVariable(i, m_saved[i] ? m_saved[i]->c_str() : nullptr);
}

std::string BuiltLoaderDaten() { return JoinPath(ROVIRO_BUILD_FOLDER, "LoaderDaten"); }

DialogEnvironment DialogParts::MakeEnvironment() {
  DialogEnvironment env;
  env.programFolder = program.Path();
  env.sharedDataFolder = data.Path();
  env.prompts = &prompts;
  env.factory = &factory;
  env.clock = &clock;
  env.bridges = &bridges;
  env.resolver = &resolver;
  env.image = &image;
  return env;
}

AppTest::AppTest() : env(MakeEnvironment()) {
  env.runFirstStart = [](CDlgFirstStart&) { ADD_FAILURE() << "unexpected first-start dialog"; };
}

AppTest::~AppTest() { dlg.reset(); }

void AppTest::WriteProfile(const std::string& company) {
  ContactRecord record;
  record.company = company;
  ASSERT_TRUE(Succeeded(WriteContactProfile(data.Path(), record)));
}

void AppTest::WriteStartIni(const std::string& text) {
  std::FILE* f = std::fopen(program.File("StartIni.dat").c_str(), "w");
  ASSERT_NE(f, nullptr);
  std::fputs(text.c_str(), f);
  std::fclose(f);
}

void AppTest::LinkTree(bool withCatalogues) {
  namespace fs = std::filesystem;
  const fs::path tree = fs::path(program.Path()) / "LoaderDaten";
  fs::create_directories(tree);
  fs::create_directory_symlink(fs::path(BuiltLoaderDaten()) / "Screen", tree / "Screen");
  if (withCatalogues) {
    fs::create_directory_symlink(fs::path(BuiltLoaderDaten()) / "Config", tree / "Config");
  }
  // The icons lie beside the program folder, as in the build tree.
  fs::create_directory_symlink(fs::path(ROVIRO_BUILD_FOLDER) / "icons",
                               fs::path(program.Path()) / "icons");
  // So do the translations of the program's own messages.
  fs::create_directory_symlink(fs::path(ROVIRO_BUILD_FOLDER) / "translations",
                               fs::path(program.Path()) / "translations");
  treeLinked = true;
}

CVQZodavaRozeDlg& AppTest::Open() {
  if (!treeLinked) LinkTree();
  dlg = std::make_unique<CVQZodavaRozeDlg>(env);
  EXPECT_TRUE(dlg->OnInitDialog());
  dlg->show();
  QApplication::setActiveWindow(dlg.get());
  Pump();
  return *dlg;
}

void AppTest::Pump() {
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

bool AppTest::WaitFor(const std::function<bool()>& done) {
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!done()) {
    if (std::chrono::steady_clock::now() > limit) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 5);
    std::this_thread::yield();
  }
  return true;
}

void AppTest::RegisterScreen(int id, bool failCreate) {
  factory.Register(id, [this, id, failCreate](CVQZodavaRozeDlg* d) {
    return std::make_unique<TestScreen>(d, id, &log, failCreate);
  });
}

}  // namespace roviro::test
