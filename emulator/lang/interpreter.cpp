#include "emulator/lang/interpreter.h"

#include "emulator/lang/builtins.h"
#include "emulator/lang/forms.h"
#include "emulator/lang/lexer.h"
#include "emulator/lang/parser.h"
#include "emulator/lang/scripted_users.h"
#include "platform/platform.h"
#include "text/literal.h"

namespace klt::lang {

using namespace klt::text::literals;
using host::Numeric;
using host::Value;

namespace {

std::string Cp(std::string_view s) {
    return std::string(s);
}

const std::string& EventHandlerKey() {
    static const std::string key = FoldName(Cp("ОбработкаВнешнегоСобытия"_cp));
    return key;
}

const std::string& StartUpKey() {
    static const std::string key = FoldName(Cp("ПриНачалеРаботыСистемы"_cp));
    return key;
}

const std::string& FormKey() {
    static const std::string key = FoldName(Cp("Форма"_cp));
    return key;
}

}  // namespace

// The variables of one running procedure, function or module body. Parameters passed by reference
// point at the caller's variables; everything else is owned here.
struct Interpreter::Frame {
    std::map<std::string, Value*> vars;
    std::vector<std::unique_ptr<Value>> owned;
    Value result;

    Value& Own(const std::string& key, Value v) {
        owned.push_back(std::make_unique<Value>(std::move(v)));
        vars[key] = owned.back().get();
        return *owned.back();
    }
};

namespace {

template <typename T>
class Counter {
  public:
    explicit Counter(T& value) : value_(value) { ++value_; }
    ~Counter() { --value_; }
    Counter(const Counter&) = delete;
    Counter& operator=(const Counter&) = delete;

  private:
    T& value_;
};

}  // namespace

Interpreter::Interpreter(emu::EmulatedHost& host, std::unique_ptr<Program> program)
    : host_(host), program_(std::move(program)) {
    for (std::size_t i = 0; i < program_->routines.size(); ++i)
        routineIndex_[program_->routines[i]->name.key] = i;
    for (std::size_t i = 0; i < program_->vars.size(); ++i) moduleVarIndex_[program_->vars[i].name.key] = i;
    moduleVars_.resize(program_->vars.size());
    host_.moduleTakesEvents = true;  // events wait in the host's buffer until this module is idle
}

Interpreter::~Interpreter() {
    StopDelivery();
}

void Interpreter::AttachToForm(Interpreter& global, host::Value form, std::string origin) {
    global_ = &global;
    form_ = std::move(form);
    origin_ = std::move(origin);
}

void Interpreter::Fail(SourcePos pos, const std::string& message) const {
    LangError e(LangError::Kind::Runtime, pos, message);
    e.set_module(Origin());
    throw e;
}

bool Interpreter::HasRoutine(const std::string& name) const {
    return FindRoutine(FoldName(name)) != nullptr;
}

const Routine* Interpreter::FindRoutine(const std::string& key) const {
    auto it = routineIndex_.find(key);
    return it == routineIndex_.end() ? nullptr : program_->routines[it->second].get();
}

const Value* Interpreter::ModuleVariable(const std::string& name) const {
    auto it = moduleVarIndex_.find(FoldName(name));
    return it == moduleVarIndex_.end() ? nullptr : &moduleVars_[it->second];
}

std::optional<LangError> Interpreter::TakePendingError() {
    std::optional<LangError> e = std::move(Pending());
    Pending().reset();
    return e;
}

void Interpreter::ReleaseValues() {
    for (Value& v : moduleVars_) v.Reset();
    form_.Reset();
    host_.CleanBuffer();
    StopDelivery();
}

void Interpreter::RequestStop() {
    host_.RequestShutdown();
    stopping_ = true;
}

// ---- running ----

void Interpreter::Run() {
    Frame body;
    frames_.push_back(&body);
    struct Pop {
        std::vector<Frame*>& frames;
        ~Pop() { frames.pop_back(); }
    } pop{frames_};
    try {
        CheckStop();
        // Running code is never interrupted: the host turns its loop only once the body is done.
        for (const auto& s : program_->body) {
            Exec(*s);
            CheckStop();
        }
        Idle(lastPos_);
        if (const Routine* start = FindRoutine(StartUpKey())) {
            std::vector<Arg> none;
            CallRoutine(*start, none, start->pos, false);
            Idle(start->pos);
        }
    } catch (const Stop&) {
    }
}

void Interpreter::RunBody() {
    Frame body;
    frames_.push_back(&body);
    struct Pop {
        std::vector<Frame*>& frames;
        ~Pop() { frames.pop_back(); }
    } pop{frames_};
    for (const auto& s : program_->body) Exec(*s);
}

void Interpreter::RunIfPresent(const std::string& name) {
    if (const Routine* r = FindRoutine(FoldName(name))) {
        std::vector<Arg> none;
        CallRoutine(*r, none, r->pos, false);
    }
}

void Interpreter::RunFormula(const std::string& formula, const std::string& where) {
    if (global().stopping_) return;
    try {
        const std::unique_ptr<Expr> expr = ParseExpression(formula);
        Frame scratch;  // a formula that assigns to an unknown name leaves nothing behind
        frames_.push_back(&scratch);
        const std::string* outer = formulaWhere_;
        const int outerDepth = formulaDepth_;
        formulaWhere_ = &where;
        formulaDepth_ = callDepth_;
        struct Pop {
            Interpreter& self;
            const std::string* where;
            int depth;
            ~Pop() {
                self.frames_.pop_back();
                self.formulaWhere_ = where;
                self.formulaDepth_ = depth;
            }
        } pop{*this, outer, outerDepth};
        // A call standing alone may call a procedure, as a button's formula mostly does.
        if (expr->kind == Expr::Kind::Call) {
            CallGlobal(*expr, false);
        } else if (expr->kind == Expr::Kind::MethodCall) {
            Value object = Eval(*expr->left);
            if (!object.GetContext())
                Fail(expr->pos, Cp("Значение не является объектом ("_cp) + expr->name.text + ")");
            std::vector<Arg> args = EvalArgs(expr->args);
            CallObject(*object.GetContext(), expr->name, args, expr->pos, false);
        } else {
            Eval(*expr);
        }
    } catch (LangError& e) {
        if (e.kind() == LangError::Kind::Syntax) e.set_module(where);
        if (!Pending()) Pending() = e;
    } catch (const Stop&) {
    } catch (const std::exception&) {
        LangError e(LangError::Kind::Runtime, {}, Cp("Внутренняя ошибка"_cp));
        e.set_module(where);
        if (!Pending()) Pending() = e;
    }
}

void Interpreter::ServeEvents(std::int64_t ms) {
    if (stopping_) return;
    std::optional<LangError> error;
    platform::Get().loop->RunUntil(
        [&] {
            // Nothing may unwind through the loop: errors are carried out and thrown after it.
            try {
                CheckAfterAddIn(lastPos_);
                DeliverEvents();
                if (Forms* f = forms()) f->OnIdle();
                CheckAfterAddIn(lastPos_);
            } catch (const LangError& e) {
                error = e;
                return true;
            } catch (const Stop&) {
                return true;
            }
            return false;
        },
        ms);
    if (error) throw *error;
}

void Interpreter::Idle(SourcePos pos) {
    lastPos_ = pos;
    platform::Get().loop->Poll();
    CheckAfterAddIn(pos);
    DeliverEvents();
    if (Forms* f = forms()) f->OnIdle();
    CheckAfterAddIn(pos);
}

void Interpreter::CheckStop() {
    if (host_.ShutdownRequested()) stopping_ = true;
    if (stopping_) throw Stop{};
}

void Interpreter::CheckAfterAddIn(SourcePos pos) {
    std::vector<emu::RuntimeError> errors = host_.TakeErrors();
    if (users_)
        for (std::string& text : users_->TakeFailures()) errors.push_back({std::move(text), 0});
    // Module code that the add-in called failed first; its own place says more than the call's.
    if (Pending()) {
        LangError e = *Pending();
        Pending().reset();
        throw e;
    }
    if (!errors.empty()) {
        std::string text;
        for (const emu::RuntimeError& e : errors) {
            if (!text.empty()) text += "; ";
            text += e.text;
            if (e.code != 0) text += Cp(" (код "_cp) + std::to_string(e.code) + ")";
        }
        LangError e(LangError::Kind::Runtime, pos, text);
        e.set_code(errors.front().code);
        e.set_module(Origin());
        throw e;
    }
    CheckStop();
}

void Interpreter::OnExternalEvent(const emu::RecordedEvent&) {
    // The event waits in the host's buffer. Idle, the loop hands it over; inside a call, only a modal
    // window's loop may.
    if (addInDepth_ > 0 && !delivering_) PostDelivery();
}

void Interpreter::PostDelivery() {
    if (deliveryTimer_) return;
    deliveryTimer_ = platform::Get().loop->StartTimer(0, [this](platform::TimerId) {
        StopDelivery();
        if (delivering_) return;  // the handler running now takes the rest
        // Nothing may unwind into the add-in's loop.
        try {
            DeliverEvents();
        } catch (const LangError& e) {
            if (!pending_) pending_ = e;
        } catch (const Stop&) {
        } catch (const std::exception&) {
            if (!pending_)
                pending_ = LangError(LangError::Kind::Runtime, lastPos_, Cp("Внутренняя ошибка"_cp));
        }
    });
}

void Interpreter::StopDelivery() {
    if (!deliveryTimer_) return;
    platform::Get().loop->StopTimer(deliveryTimer_);
    deliveryTimer_ = 0;
}

void Interpreter::DeliverEvents() {
    if (delivering_) return;
    StopDelivery();  // handed over here, nothing stays posted
    const Routine* handler = FindRoutine(EventHandlerKey());
    delivering_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{delivering_};
    while (!stopping_) {
        std::optional<emu::RecordedEvent> e = host_.TakeEvent();
        if (!e) break;
        if (!handler) continue;  // the host drops events a configuration does not handle
        std::vector<Arg> args(3);
        args[0].value = Value(e->source);
        args[1].value = Value(e->message);
        args[2].value = Value(e->data);
        CallRoutine(*handler, args, handler->pos, false);
    }
}

int Interpreter::EnterFromAddIn(int index, Value* result, int count, Value** args) {
    if (index < 0 || static_cast<std::size_t>(index) >= program_->routines.size()) return 0;
    const Routine& r = *program_->routines[index];
    if (result && !r.isFunction) return 0;
    if (global().stopping_) return 0;
    std::vector<Arg> a(static_cast<std::size_t>(std::max(count, 0)));
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (args[i]) {
            a[i].value = *args[i];
            a[i].ref = args[i];
        } else {
            a[i].omitted = true;
        }
    }
    try {
        Value v = CallRoutine(r, a, r.pos, result != nullptr);
        if (result) *result = std::move(v);
        return 1;
    } catch (const LangError& e) {
        if (!Pending()) Pending() = e;
    } catch (const Stop&) {
        return 1;
    } catch (const std::exception&) {
        LangError e(LangError::Kind::Runtime, r.pos, Cp("Внутренняя ошибка"_cp));
        e.set_module(origin_);
        if (!Pending()) Pending() = e;
    }
    return 0;
}

// ---- host::Module ----

int Interpreter::FindProc(const char* name, int) {
    if (!name) return -1;
    auto it = routineIndex_.find(FoldName(name));
    return it == routineIndex_.end() ? -1 : static_cast<int>(it->second);
}

int Interpreter::FindFunc(const char* name) {
    const int i = FindProc(name, 0);
    return i >= 0 && program_->routines[i]->isFunction ? i : -1;
}

int Interpreter::CallAsProc(int index, int count, Value** args) {
    return EnterFromAddIn(index, nullptr, count, args);
}

int Interpreter::CallAsFunc(int index, Value& result, int count, Value** args) {
    return EnterFromAddIn(index, &result, count, args);
}

int Interpreter::FindStaticVar(const char* name) {
    if (!name) return -1;
    auto it = moduleVarIndex_.find(FoldName(name));
    return it == moduleVarIndex_.end() ? -1 : static_cast<int>(it->second);
}

int Interpreter::SetStaticVarValue(int index, const Value& value, int) {
    if (index < 0 || static_cast<std::size_t>(index) >= moduleVars_.size()) return 0;
    moduleVars_[index] = value;
    return 1;
}

// ---- statements ----

Interpreter::Flow Interpreter::ExecBlock(const Block& block) {
    for (const auto& s : block) {
        Flow f = Exec(*s);
        if (f != Flow::Normal) return f;
    }
    return Flow::Normal;
}

Interpreter::Flow Interpreter::Exec(const Stmt& s) {
    lastPos_ = s.pos;
    switch (s.kind) {
        case Stmt::Kind::Assign: {
            Value v = Eval(*s.value);
            if (s.target->kind == Expr::Kind::Variable)
                VariableForWrite(s.target->name) = std::move(v);
            else
                WriteMember(*s.target, v);
            return Flow::Normal;
        }
        case Stmt::Kind::Call:
            if (s.value->kind == Expr::Kind::Call) {
                CallGlobal(*s.value, false);
            } else {
                Value object = Eval(*s.value->left);
                if (!object.GetContext())
                    Fail(s.value->pos, Cp("Значение не является объектом ("_cp) + s.value->name.text + ")");
                std::vector<Arg> args = EvalArgs(s.value->args);
                CallObject(*object.GetContext(), s.value->name, args, s.value->pos, false);
            }
            return Flow::Normal;
        case Stmt::Kind::If:
            for (std::size_t i = 0; i < s.conditions.size(); ++i)
                if (Truth(Eval(*s.conditions[i]))) return ExecBlock(s.branches[i]);
            return ExecBlock(s.otherwise);
        case Stmt::Kind::While:
            while (Truth(Eval(*s.limit))) {
                Flow f = ExecBlock(s.branches[0]);
                if (f == Flow::Break) break;
                if (f == Flow::Return) return f;
            }
            return Flow::Normal;
        case Stmt::Kind::For: {
            const Numeric first = Eval(*s.value).GetNumeric();
            const Numeric last = Eval(*s.limit).GetNumeric();
            VariableForWrite(s.target->name) = Value(first);
            for (;;) {
                // The body may change the counter; the loop goes on from what it holds.
                Value& counter = VariableForWrite(s.target->name);
                if (counter.GetNumeric().Compare(last) > 0) break;
                Flow f = ExecBlock(s.branches[0]);
                if (f == Flow::Break) break;
                if (f == Flow::Return) return f;
                Value& after = VariableForWrite(s.target->name);
                try {
                    after = Value(after.GetNumeric() + Numeric(1));
                } catch (const Numeric::Overflow&) {
                    Fail(s.pos, Cp("Арифметическое переполнение"_cp));
                }
            }
            return Flow::Normal;
        }
        case Stmt::Kind::Break:
            return Flow::Break;
        case Stmt::Kind::Continue:
            return Flow::Continue;
        case Stmt::Kind::Return:
            if (s.value) frames_.back()->result = Eval(*s.value);
            return Flow::Return;
        case Stmt::Kind::Try:
            try {
                return ExecBlock(s.branches[0]);
            } catch (const LangError& e) {
                lastError_ = e.message();
            }
            return ExecBlock(s.otherwise);
        case Stmt::Kind::Raise:
            Fail(s.pos, s.value ? Present(Eval(*s.value)) : lastError_);
        case Stmt::Kind::Var:
            for (const Name& n : s.names)
                if (!frames_.back()->vars.count(n.key)) frames_.back()->Own(n.key, Value());
            return Flow::Normal;
    }
    return Flow::Normal;
}

// ---- expressions ----

bool Interpreter::Truth(const Value& v) const {
    switch (v.kind()) {
        case host::ValueKind::Context:
            return true;
        case host::ValueKind::Empty:
            return false;
        default:
            return !v.GetNumeric().IsZero();
    }
}

Value* Interpreter::FindVariable(const std::string& key) {
    if (!frames_.empty()) {
        auto it = frames_.back()->vars.find(key);
        if (it != frames_.back()->vars.end()) return it->second;
    }
    auto m = moduleVarIndex_.find(key);
    if (m != moduleVarIndex_.end()) return &moduleVars_[m->second];
    if (global_) {
        auto g = global_->moduleVarIndex_.find(key);
        if (g != global_->moduleVarIndex_.end() && global_->program_->vars[g->second].exported)
            return &global_->moduleVars_[g->second];
    }
    return nullptr;
}

Value& Interpreter::VariableForWrite(const Name& name) {
    if (Value* v = FindVariable(name.key)) return *v;
    return frames_.back()->Own(name.key, Value());
}

Value Interpreter::Eval(const Expr& e) {
    switch (e.kind) {
        case Expr::Kind::Literal:
            return e.value;
        case Expr::Kind::Variable: {
            if (Value* v = FindVariable(e.name.key)) return *v;
            if (!form_.IsEmpty() && e.name.key == FormKey()) return form_;
            // Attributes of the host's global contexts, such as Константа.
            for (int number : {1, 5}) {
                host::Context* c = host_.GetLoadedContext(number);
                const int prop = c ? c->FindProp(e.name.text.c_str()) : -1;
                if (prop >= 0) {
                    Value v;
                    c->GetPropVal(prop, v);
                    return v;
                }
            }
            Fail(e.pos, Cp("Переменная не определена ("_cp) + e.name.text + ")");
        }
        case Expr::Kind::Call:
            return CallGlobal(e, true);
        case Expr::Kind::Member:
            return ReadMember(e);
        case Expr::Kind::MethodCall: {
            Value object = Eval(*e.left);
            if (!object.GetContext())
                Fail(e.pos, Cp("Значение не является объектом ("_cp) + e.name.text + ")");
            std::vector<Arg> args = EvalArgs(e.args);
            return CallObject(*object.GetContext(), e.name, args, e.pos, true);
        }
        case Expr::Kind::Unary: {
            Value v = Eval(*e.left);
            if (v.kind() == host::ValueKind::Context)
                Fail(e.pos, Cp("Недопустимая операция над объектом"_cp));
            return e.op == "-" ? Value(-v.GetNumeric()) : Value(v.GetNumeric());
        }
        case Expr::Kind::Binary:
            return EvalBinary(e);
        case Expr::Kind::And:
            return Value(Truth(Eval(*e.left)) && Truth(Eval(*e.right)) ? 1 : 0);
        case Expr::Kind::Or:
            return Value(Truth(Eval(*e.left)) || Truth(Eval(*e.right)) ? 1 : 0);
        case Expr::Kind::Not:
            return Value(Truth(Eval(*e.left)) ? 0 : 1);
        case Expr::Kind::Choice:
            return Truth(Eval(*e.args[0])) ? Eval(*e.args[1]) : Eval(*e.args[2]);
    }
    return Value();
}

Value Interpreter::EvalBinary(const Expr& e) {
    const Value l = Eval(*e.left);
    const Value r = Eval(*e.right);
    const std::string& op = e.op;
    const bool objects = l.kind() == host::ValueKind::Context || r.kind() == host::ValueKind::Context;
    if (op == "=" || op == "<>") {
        bool equal;
        if (objects)
            equal = l == r;
        else if (l.kind() == host::ValueKind::String || (l.IsEmpty() && r.kind() == host::ValueKind::String))
            equal = l.GetString() == r.GetString();
        else
            equal = l.GetNumeric() == r.GetNumeric();
        return Value((op == "=") == equal ? 1 : 0);
    }
    if (objects) Fail(e.pos, Cp("Недопустимая операция над объектом"_cp));
    if (op == "<" || op == ">" || op == "<=" || op == ">=") {
        int c;
        if (l.kind() == host::ValueKind::String) {
            // Byte order: CP1251 keeps the Russian letters in alphabetical order, Ё apart.
            const std::string a = l.GetString(), b = r.GetString();
            const int byBytes =
                std::char_traits<char>::compare(a.data(), b.data(), std::min(a.size(), b.size()));
            c = byBytes != 0 ? byBytes : a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
        } else {
            c = l.GetNumeric().Compare(r.GetNumeric());
        }
        const bool result = op == "<" ? c < 0 : op == ">" ? c > 0 : op == "<=" ? c <= 0 : c >= 0;
        return Value(result ? 1 : 0);
    }
    if (op == "+" && l.kind() == host::ValueKind::String) return Value(l.GetString() + Present(r));
    try {
        const Numeric a = l.GetNumeric(), b = r.GetNumeric();
        if (op == "+") return Value(a + b);
        if (op == "-") return Value(a - b);
        if (op == "*") return Value(a * b);
        if (op == "/") return Value(a / b);
        if (op == "%") return Value(a % b);
    } catch (const Numeric::DivisionByZero&) {
        Fail(e.pos, Cp("Деление на 0"_cp));
    } catch (const Numeric::Overflow&) {
        Fail(e.pos, Cp("Арифметическое переполнение"_cp));
    }
    Fail(e.pos, Cp("Неизвестная операция "_cp) + op);
}

std::vector<Interpreter::Arg> Interpreter::EvalArgs(const std::vector<ExprPtr>& args) {
    std::vector<Arg> out(args.size());
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (!args[i]) {
            out[i].omitted = true;
        } else if (args[i]->kind == Expr::Kind::Variable && (out[i].ref = FindVariable(args[i]->name.key))) {
            out[i].value = *out[i].ref;  // a variable goes by reference
        } else {
            out[i].value = Eval(*args[i]);
        }
    }
    return out;
}

// ---- calls ----

const Routine* Interpreter::FindVisibleRoutine(const std::string& key, Interpreter*& owner) {
    owner = this;
    if (const Routine* r = FindRoutine(key)) return r;
    if (!global_) return nullptr;
    const Routine* r = global_->FindRoutine(key);
    if (!r || !r->exported) return nullptr;
    owner = global_;
    return r;
}

Value Interpreter::CallGlobal(const Expr& call, bool wantResult) {
    Interpreter* owner = nullptr;
    if (const Routine* r = FindVisibleRoutine(call.name.key, owner)) {
        std::vector<Arg> args = EvalArgs(call.args);
        return owner->CallRoutine(*r, args, call.pos, wantResult);
    }
    if (const Builtin* b = FindBuiltin(call.name.key)) {
        if (wantResult && !b->function)
            Fail(call.pos, Cp("Процедура не возвращает значение ("_cp) + call.name.text + ")");
        if (static_cast<int>(call.args.size()) > b->maxArgs)
            Fail(call.pos, Cp("Слишком много фактических параметров ("_cp) + call.name.text + ")");
        if (static_cast<int>(call.args.size()) < b->minArgs)
            Fail(call.pos, Cp("Недостаточно фактических параметров ("_cp) + call.name.text + ")");
        std::vector<Value> values;
        for (const ExprPtr& a : call.args) values.push_back(a ? Eval(*a) : Value());
        Value result;
        {
            Counter<int> inAddIn(addInDepth_);  // creating an object runs the add-in's code
            try {
                result = b->run(*this, values);
            } catch (const BuiltinError& e) {
                Fail(call.pos, e.message);
            } catch (const Numeric::Overflow&) {
                Fail(call.pos, Cp("Арифметическое переполнение"_cp));
            }
        }
        CheckAfterAddIn(call.pos);
        return result;
    }
    // Procedures and functions of the host's global contexts (НазваниеНабораПрав, КаталогИБ...).
    for (int number : {1, 5}) {
        host::Context* c = host_.GetLoadedContext(number);
        if (c && c->FindMethod(call.name.text.c_str()) >= 0) {
            std::vector<Arg> args = EvalArgs(call.args);
            return CallObject(*c, call.name, args, call.pos, wantResult);
        }
    }
    Fail(call.pos, Cp("Процедура или функция не определена ("_cp) + call.name.text + ")");
}

Value Interpreter::CallRoutine(const Routine& r, std::vector<Arg>& args, SourcePos pos, bool wantResult) {
    if (wantResult && !r.isFunction)
        Fail(pos, Cp("Процедура не возвращает значение ("_cp) + r.name.text + ")");
    if (args.size() > r.params.size())
        Fail(pos, Cp("Слишком много фактических параметров ("_cp) + r.name.text + ")");
    if (callDepth_ >= kMaxCallDepth)
        Fail(pos, Cp("Слишком глубокая вложенность вызовов ("_cp) + r.name.text + ")");
    Counter<int> depth(callDepth_);
    Frame frame;
    for (std::size_t i = 0; i < r.params.size(); ++i) {
        const Param& p = r.params[i];
        if (i < args.size() && !args[i].omitted) {
            if (p.byValue || !args[i].ref)
                frame.Own(p.name.key, args[i].value);
            else
                frame.vars[p.name.key] = args[i].ref;
        } else {
            frame.Own(p.name.key, p.hasDefault ? p.defaultValue : Value());
        }
    }
    frames_.push_back(&frame);
    struct Pop {
        std::vector<Frame*>& frames;
        ~Pop() { frames.pop_back(); }
    } pop{frames_};
    ExecBlock(r.body);
    return std::move(frame.result);
}

Value Interpreter::CallObject(host::Context& object, const Name& method, std::vector<Arg>& args,
                              SourcePos pos, bool wantResult) {
    const int number = object.FindMethod(method.text.c_str());
    if (number >= 0 && wantResult && !object.HasRetVal(number))
        Fail(pos, Cp("Метод объекта не возвращает значение ("_cp) + method.text + ")");
    std::vector<Value> values;
    for (const Arg& a : args) values.push_back(a.omitted ? Value() : a.value);
    Value result;
    bool ok;
    {
        Counter<int> inAddIn(addInDepth_);
        ok = host_.CallMethodInPlace(object, method.text, values, &result);
    }
    // Parameters go by reference, as the host passes them: what the method left reaches the
    // caller's variables.
    for (std::size_t i = 0; i < args.size(); ++i)
        if (args[i].ref && !args[i].omitted) *args[i].ref = values[i];
    CheckAfterAddIn(pos);
    if (!ok) Fail(pos, Cp("Ошибка при вызове метода контекста ("_cp) + method.text + ")");
    return result;
}

Value Interpreter::ReadMember(const Expr& e) {
    Value object = Eval(*e.left);
    host::Context* c = object.GetContext();
    if (!c) Fail(e.pos, Cp("Значение не является объектом ("_cp) + e.name.text + ")");
    const int prop = c->FindProp(e.name.text.c_str());
    if (prop < 0) Fail(e.pos, Cp("Поле объекта не обнаружено ("_cp) + e.name.text + ")");
    Value v;
    {
        Counter<int> inAddIn(addInDepth_);
        c->GetPropVal(prop, v);
    }
    CheckAfterAddIn(e.pos);
    return v;
}

void Interpreter::WriteMember(const Expr& target, const Value& value) {
    Value object = Eval(*target.left);
    host::Context* c = object.GetContext();
    if (!c) Fail(target.pos, Cp("Значение не является объектом ("_cp) + target.name.text + ")");
    const int prop = c->FindProp(target.name.text.c_str());
    if (prop < 0) Fail(target.pos, Cp("Поле объекта не обнаружено ("_cp) + target.name.text + ")");
    if (!c->IsPropWritable(prop))
        Fail(target.pos, Cp("Поле объекта недоступно для записи ("_cp) + target.name.text + ")");
    {
        Counter<int> inAddIn(addInDepth_);
        c->SetPropVal(prop, value);
    }
    CheckAfterAddIn(target.pos);
}

}  // namespace klt::lang
