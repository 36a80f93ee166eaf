#include "Runner.h"

#include <algorithm>
#include <climits>
#include <fstream>
#include <sstream>

#include "utf8.h"
#include "tools/kelem/kinds/Kinds.h"
#include "win32/runtime_ext.h"

namespace kelem {

Runner::Runner(Registry& registry, RunOptions options, std::ostream& out)
    : registry_(registry), options_(std::move(options)), out_(out) {
    // Popup menus opened during the run take the answers of the `menu` verbs (kinds/Menus.cpp).
    state_.Slot<std::shared_ptr<void>>("menu.session") =
        StartMenuSession(state_, [this](const std::string& text) { Line(text); }, options_.outDir);
}

Runner::~Runner() = default;

CHeadlessHost& Runner::Host() {
    if (!host_) {
        host_ = std::make_unique<CHeadlessHost>(windowSize_);
        if (!options_.skinDir.empty()) LoadSkin(options_.skinDir);
        host_->Window().onControlMessage = [this](const ControlMessage& cm) {
            out_ << "t=" << cm.time - start_ << " post " << cm.msg << " " << static_cast<long long>(cm.wParam) << " "
                 << static_cast<long long>(cm.lParam) << "\n";
        };
        // A run starts with the arrow, whatever an earlier run in this process left.
        ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
        lastCursor_ = rt::CursorId(::GetCursor());
    }
    return *host_;
}

void Runner::Line(const std::string& text) { out_ << "t=" << rt::ClockNow() - start_ << " " << text << "\n"; }

void Runner::NoteCursor() {
    if (!host_) return;
    const int id = rt::CursorId(::GetCursor());
    if (id != lastCursor_) {
        lastCursor_ = id;
        Line("cursor " + std::to_string(id));
    }
}

RECT Runner::RectFrom(const Args& args, size_t first) {
    const long long x = args.Int(first), y = args.Int(first + 1), w = args.Int(first + 2), h = args.Int(first + 3);
    // The far edges are sums: refused when they leave the int range, not wrapped.
    const long long right = x + w, bottom = y + h;
    if (right < INT_MIN || right > INT_MAX || bottom < INT_MIN || bottom > INT_MAX)
        args.Fail("the rectangle " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(w) + " " +
                  std::to_string(h) + " reaches past the int range");
    return RECT{int(x), int(y), int(right), int(bottom)};
}

void Runner::LoadSkin(const std::string& dir) {
    host_->LoadSkin(dir);
    for (const std::string& p : host_->Skin().Problems()) {
        Line("skin problem: " + p);
        skinProblems_.push_back("skin problem: " + p);
    }
}

CElementContainer* Runner::Element(const Args& args, size_t i) const {
    const std::string name = args.Word(i);
    CElementContainer* element = host_ ? host_->Window().FindElementByName(rt::Utf8ToWide(name)) : nullptr;
    if (!element) args.Fail("unknown element '" + name + "'");
    return element;
}

void Runner::Run(const std::vector<Command>& commands) {
    for (const Command& cmd : commands) Execute(cmd);
    Host();  // a script without commands still loads (and checks) its skin
}

void Runner::Execute(const Command& cmd) {
    const Args args(cmd.args, cmd.line, state_);
    const std::string& v = cmd.verb;
    if (v == "window") {
        args.ExpectCount(2);
        windowSize_ = SIZE{args.Int(0), args.Int(1)};
        if (windowSize_.cx <= 0 || windowSize_.cy <= 0) args.Fail("the window needs a positive size");
        if (host_) host_->Resize(windowSize_);
    } else if (v == "skin") {
        args.ExpectCount(1);
        const std::string dir = rt::WideToUtf8(args.Str(0) ? args.Str(0) : L"");
        if (dir.empty()) args.Fail("skin needs a folder");
        // Over the --skin one. Problems are printed and fail the run at its end; what could
        // not be read keeps its previous value, so the script goes on.
        Host();
        LoadSkin(dir);
        options_.skinDir = dir;
    } else if (v == "create") {
        args.ExpectAtLeast(6);
        const ElementKind* kind = registry_.Find(args.Word(0));
        if (!kind) args.Fail("unknown element kind '" + args.Word(0) + "'");
        const std::string name = args.Word(1);
        if (host_ && host_->Window().FindElementByName(rt::Utf8ToWide(name))) args.Fail("'" + name + "' exists already");
        const RECT rc = RectFrom(args, 2);
        CHeadlessHost& host = Host();
        CElementContainer* element = kind->create(args, 6);
        registry_.Remember(element, kind);
        if (!host.Add(element, rt::Utf8ToWide(name).c_str(), rc)) args.Fail("InitObject refused '" + name + "'");
    } else if (v == "place") {
        args.ExpectCount(5);
        CElementContainer* element = Element(args, 0);
        Host().Window().PlaceElement(element, RectFrom(args, 1));
        Host().Pump();
    } else if (v == "invalidate") {
        // As the element would ask itself: for setters that store a value and leave the
        // repaint to a later change.
        args.ExpectCount(1);
        CElementContainer* element = Element(args, 0);
        Host().Window().InvalidateElement(element, 1, nullptr);
        Host().Pump();
    } else if (v == "call") {
        args.ExpectAtLeast(2);
        CElementContainer* element = Element(args, 0);
        const ElementKind* kind = registry_.KindOf(element);
        const std::string op = args.Word(1);
        if (!kind || !kind->operations.count(op)) args.Fail("unknown operation '" + op + "'");
        const std::vector<Arg> rest(cmd.args.begin() + 2, cmd.args.end());
        const Args opArgs(rest, cmd.line, state_);
        const std::string result = kind->operations.at(op)(element, opArgs);
        // Operations without a result (void) print no "= ...".
        Line("call " + args.Word(0) + " " + op + (result.empty() ? "" : " = " + result));
        Host().Pump();
    } else if (v == "get") {
        args.ExpectCount(2);
        CElementContainer* element = Element(args, 0);
        const ElementKind* kind = registry_.KindOf(element);
        const std::string field = args.Word(1);
        std::string value;
        if (!kind || !kind->field(element, field, &value)) args.Fail("unknown field '" + field + "'");
        Line("get " + args.Word(0) + " " + field + " = " + value);
    } else if (v == "move" || v == "down" || v == "up") {
        args.ExpectCount(2);
        const POINT pt{args.Int(0), args.Int(1)};
        if (v == "move") Host().Move(pt);
        if (v == "down") Host().Down(pt);
        if (v == "up") Host().Up(pt);
    } else if (v == "leave") {
        args.ExpectCount(0);
        Host().Leave();
    } else if (v == "wait") {
        args.ExpectCount(1);
        if (args.Int(0) < 0 || args.Int(0) > kMaxWaitMs)
            args.Fail("wait takes 0 to " + std::to_string(kMaxWaitMs) + " milliseconds");
        Host().Wait(DWORD(args.Int(0)));
    } else if (v == "active") {
        args.ExpectCount(2);
        Host().Window().SetElementActive(Element(args, 0), args.Int(1) != 0);
    } else if (v == "snapshot") {
        args.ExpectCount(1);
        const std::string path = args.OutputPath(0, options_.outDir);
        const Arg& a = args.At(0);  // a quoted or a bare file name
        const std::string file = a.type == Arg::Type::Word ? a.word : rt::WideToUtf8(args.Str(0));
        std::string error;
        if (!Host().SaveSnapshot(path, &error)) args.Fail("cannot write " + path + ": " + error);
        Line("snapshot " + file);
    } else if (const Verb* verb = registry_.FindVerb(v)) {
        Host();
        const std::string text = (*verb)(args);
        if (!text.empty()) Line(text);
    } else {
        args.Fail("unknown command '" + v + "'");
    }
    NoteCursor();
}

std::vector<std::string> Runner::Problems() const {
    std::vector<std::string> problems = skinProblems_;
    if (!host_) return problems;
    // Pictures first asked for after the skin line, and keys or pictures the skin lacks.
    for (const std::string& p : host_->Skin().Factory()->problems)
        if (std::find(problems.begin(), problems.end(), "skin problem: " + p) == problems.end())
            problems.push_back("skin problem: " + p);
    for (const std::wstring& key : host_->Skin().Palette()->MissingKeys())
        problems.push_back("skin lacks the palette " + rt::WideToUtf8(key));
    for (const std::wstring& file : host_->Skin().Factory()->MissingFiles())
        problems.push_back("skin lacks the picture " + rt::WideToUtf8(file));
    for (const std::wstring& p : host_->Window().Problems()) problems.push_back(rt::WideToUtf8(p));
    return problems;
}

int RunScriptFile(const std::string& path, const RunOptions& options, std::ostream& out, std::ostream& err) {
    std::ifstream in(path);
    if (!in) {
        err << path << ": cannot open\n";
        return 2;
    }
    std::stringstream text;
    text << in.rdbuf();
    const std::string name = path.substr(path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1);
    Registry registry;
    RegisterAllKinds(registry);
    try {
        Runner runner(registry, options, out);
        runner.Run(ParseScript(text.str()));
        const std::vector<std::string> problems = runner.Problems();
        for (const std::string& p : problems) err << name << ": " << p << "\n";
        return problems.empty() ? 0 : 3;
    } catch (const ScriptError& e) {
        out.flush();
        err << name << ": " << e.what() << "\n";
        return 1;
    }
}

}  // namespace kelem
