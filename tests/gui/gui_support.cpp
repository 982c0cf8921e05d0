// SPDX-License-Identifier: MIT
#include "gui_support.h"

#include "core/conversion/converter.h"
#include "core/conversion/view.h"
#include "pack_text.h"
#include "runtime/codepage.h"
#include "runtime/paths.h"
#include "runtime/text_file.h"

namespace tolvex::guitest {

using namespace runtime::literals;

QString u(const char* utf8) { return QString::fromUtf8(utf8); }
std::string a(const char* utf8) { return runtime::utf8_to_ansi(utf8); }

UiScript::UiScript() : timer_(std::make_unique<QTimer>()) {
  timer_->setInterval(10);
  QObject::connect(timer_.get(), &QTimer::timeout, [this] { poll(); });
}

UiScript& UiScript::then(std::function<bool()> ready, std::function<void()> act, const char* what) {
  steps_.push_back({std::move(ready), std::move(act), what});
  return *this;
}

void UiScript::start() { timer_->start(); }

void UiScript::poll() {
  if (steps_.empty()) return timer_->stop();
  if (++polls_ > 1000) {  // ten seconds without progress: give up, and let the windows go
    qWarning("script stuck at: %s", steps_.front().what);
    timer_->stop();
    for (QWidget* w : QApplication::topLevelWidgets()) w->close();
    return;
  }
  if (starting_ || !steps_.front().ready()) return;
  Step s = std::move(steps_.front());
  steps_.pop_front();
  polls_ = 0;
  // The step runs outside this timer's own event, so that the timer keeps polling while the
  // step waits in a modal loop of its own.
  starting_ = true;
  QTimer::singleShot(0, [this, act = std::move(s.act)] {
    starting_ = false;
    act();
  });
}

namespace {

constexpr core::FieldDef kTestFields[] = {{"TYP_Z", 4}, {"FIO", 40}};
constexpr core::RecordLayout TEST{"ANK1", kTestFields};

class TestConverter : public core::Converter {
 public:
  explicit TestConverter(const core::ConverterContext& c) : Converter(c) {}
  std::string_view window_title() const override { return "Конвертация анкет АДВ-1  в формат 7  XML"_w; }
  std::string_view journal_text() const override { return " анкета АДВ-1"_w; }
  core::ReadResult read_document(core::PackReader& pack) override {
    return core::ReadResult::from_code(pack.read_record(rec_), false);
  }
  void write_document(core::XmlWriter& xml) override {
    auto document = xml.block("АНКЕТА_ЗЛ"_w);
    xml.write_element("ФИО"_w, rec_["FIO"]);
    xml.write_element("ИНН"_w, header().ist4["INN"]);
    xml.write_element("ОГРН"_w, header().ist4["KOD_OGRN"]);
  }
  std::vector<core::ViewPage> view_pages() const override {
    core::ViewPage p;
    core::ViewGroup& g = core::add_group(p);
    g.fields.push_back(core::view_field(a("фамилия:"), rec_, "FIO"));
    g.fields.push_back(core::view_field(a("ИНН:"), header().ist4, "INN"));
    p.lists.push_back({a("Периоды"), {a("№"), a("текст")}, {{"1", std::string(rec_.value("FIO"))}}});
    return {p};
  }

 private:
  core::RecordOf<TEST> rec_;
};

std::unique_ptr<core::Converter> make_test(const core::ConverterContext& c) {
  return std::make_unique<TestConverter>(c);
}

}  // namespace

core::ConverterFactory test_converter_factory() { return &make_test; }

Folder::Folder(const std::string& name, bool shared)
    : dir(std::filesystem::temp_directory_path() /
          ("tolvex-gui-" + name + (shared ? std::string() : "-" + std::to_string(QCoreApplication::applicationPid())))),
      kinds(app::document_kinds().begin(), app::document_kinds().end()) {
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir / "In_4");
  for (auto& k : kinds)
    if (k.procedure == "load_adv1") k.factory = test_converter_factory();
}

Folder::~Folder() {
  program_.reset();
  std::filesystem::remove_all(dir);
}

void Folder::start() {
  program_ = std::make_unique<app::Program>(dir, op, clock, programs, kinds);
  op.set_positions(&program_->session().ini);
}

std::filesystem::path Folder::pack(const std::string& name, const std::string& utf8_lines) {
  auto p = dir / "In_4" / name;
  fakes::write_file(p, fakes::pack_bytes(utf8_lines));
  return p;
}

std::string Folder::journal() { return fakes::readable_text(read(app::journal_path(dir)), dir); }

std::vector<std::filesystem::path> Folder::outputs() {
  std::vector<std::filesystem::path> v;
  if (std::filesystem::exists(dir / "Out_7"))
    for (const auto& e : std::filesystem::directory_iterator(dir / "Out_7")) v.push_back(e.path());
  std::sort(v.begin(), v.end());
  return v;
}

std::vector<std::filesystem::path> example_packs() {
  std::vector<std::filesystem::path> v;
  for (const auto& e : std::filesystem::directory_iterator(TOLVEX_EXAMPLE_PACKS)) v.push_back(e.path());
  std::sort(v.begin(), v.end());
  return v;
}

ExampleFolder::ExampleFolder(const std::string& name, bool shared) : Folder(name, shared) {
  kinds.assign(app::document_kinds().begin(), app::document_kinds().end());
  for (const auto& p : example_packs()) std::filesystem::copy_file(p, dir / "In_4" / p.filename());
  start();
}

}  // namespace tolvex::guitest
