#include "emulator/lang/parser.h"

#include <initializer_list>

#include "emulator/lang/lexer.h"
#include "text/cp1251.h"
#include "text/literal.h"

namespace klt::lang {

using namespace klt::text::literals;

namespace {

std::string Cp(std::string_view s) {
    return std::string(s);
}

const char* KeywordText(Keyword k) {
    switch (k) {
        case Keyword::EndProcedure:
            return "КонецПроцедуры";
        case Keyword::EndFunction:
            return "КонецФункции";
        case Keyword::Then:
            return "Тогда";
        case Keyword::EndIf:
            return "КонецЕсли";
        case Keyword::Do:
            return "Цикл";
        case Keyword::EndDo:
            return "КонецЦикла";
        case Keyword::To:
            return "По";
        case Keyword::Except:
            return "Исключение";
        case Keyword::EndTry:
            return "КонецПопытки";
        default:
            return "";
    }
}

// Deeper nesting than this is refused rather than allowed to exhaust the stack.
constexpr int kMaxNesting = 120;

class Parser {
  public:
    explicit Parser(std::vector<Token> tokens) : t_(std::move(tokens)) {}

    std::unique_ptr<Program> Run() {
        auto program = std::make_unique<Program>();
        bool bodyStarted = false;
        while (!AtEnd()) {
            if (Punct(";")) {
                ++i_;
            } else if (!bodyStarted && IsKeyword(Keyword::Var)) {
                ParseModuleVars(*program);
            } else if (IsKeyword(Keyword::Procedure) || IsKeyword(Keyword::Function)) {
                ParseRoutine(*program);
            } else {
                bodyStarted = true;
                program->body.push_back(ParseStatement());
                EndOfStatement({});
            }
        }
        return program;
    }

    // One expression and nothing after it.
    ExprPtr RunExpression() {
        ExprPtr e = ParseExpr();
        if (!AtEnd()) Expected(Cp("конец выражения"_cp));
        return e;
    }

  private:
    // ---- tokens ----
    const Token& Cur() const { return t_[i_]; }
    bool AtEnd() const { return Cur().kind == TokenKind::End; }
    bool IsKeyword(Keyword k) const { return Cur().kind == TokenKind::Keyword && Cur().keyword == k; }
    bool Punct(const char* p) const { return Cur().kind == TokenKind::Punct && Cur().text == p; }

    [[noreturn]] void Fail(const std::string& message) const {
        throw LangError(LangError::Kind::Syntax, Cur().pos, message);
    }
    [[noreturn]] void Expected(const std::string& what) const {
        std::string found;
        switch (Cur().kind) {
            case TokenKind::End:
                found = Cp("конец модуля"_cp);
                break;
            case TokenKind::String:
                found = Cp("строка"_cp);
                break;
            default:
                found = "\"" + Cur().text + "\"";
        }
        Fail(Cp("Ожидается "_cp) + what + Cp(", а встретилось "_cp) + found);
    }
    static std::string Quoted(const char* utf8Keyword) {
        std::string quoted(1, '"');
        quoted += text::Utf8ToCp1251(utf8Keyword);
        quoted += '"';
        return quoted;
    }
    void ExpectKeyword(Keyword k) {
        if (!IsKeyword(k)) Expected(Quoted(KeywordText(k)));
        ++i_;
    }
    void ExpectPunct(const char* p) {
        if (!Punct(p)) Expected(std::string("\"") + p + "\"");
        ++i_;
    }
    Name ExpectName() {
        if (Cur().kind != TokenKind::Name) Expected(Cp("имя"_cp));
        Name n{Cur().text, FoldName(Cur().text)};
        ++i_;
        return n;
    }

    // A statement ends with ";", which may be left out before the word that closes its block.
    void EndOfStatement(std::initializer_list<Keyword> closers) {
        if (Punct(";")) {
            ++i_;
            return;
        }
        if (AtEnd()) return;
        for (Keyword k : closers)
            if (IsKeyword(k)) return;
        // The word that closes another kind of block: the one this block needs is what is missing.
        static constexpr Keyword kClosers[] = {Keyword::EndIf,        Keyword::EndDo,       Keyword::EndTry,
                                               Keyword::EndProcedure, Keyword::EndFunction, Keyword::Except};
        if (closers.size() > 0 && Cur().kind == TokenKind::Keyword)
            for (Keyword k : kClosers)
                if (IsKeyword(k)) Expected(Quoted(KeywordText(*closers.begin())));
        Expected("\";\"");
    }

    // ---- module level ----
    void ParseModuleVars(Program& program) {
        ++i_;
        for (;;) {
            ModuleVar v;
            v.pos = Cur().pos;
            v.name = ExpectName();
            if (IsKeyword(Keyword::Export)) {
                v.exported = true;
                ++i_;
            }
            for (const ModuleVar& other : program.vars)
                if (other.name.key == v.name.key)
                    throw LangError(LangError::Kind::Syntax, v.pos,
                                    Cp("Переменная уже объявлена ("_cp) + v.name.text + ")");
            program.vars.push_back(std::move(v));
            if (!Punct(",")) break;
            ++i_;
        }
        ExpectPunct(";");
    }

    void ParseRoutine(Program& program) {
        auto r = std::make_unique<Routine>();
        r->isFunction = IsKeyword(Keyword::Function);
        ++i_;
        r->pos = Cur().pos;
        r->name = ExpectName();
        ExpectPunct("(");
        if (!Punct(")")) {
            for (;;) {
                Param p;
                if (IsKeyword(Keyword::Val)) {
                    p.byValue = true;
                    ++i_;
                }
                p.name = ExpectName();
                if (Punct("=")) {
                    ++i_;
                    p.hasDefault = true;
                    p.defaultValue = ParseConstant();
                }
                for (const Param& other : r->params)
                    if (other.name.key == p.name.key)
                        Fail(Cp("Повторное имя параметра ("_cp) + p.name.text + ")");
                r->params.push_back(std::move(p));
                if (!Punct(",")) break;
                ++i_;
            }
        }
        ExpectPunct(")");
        if (IsKeyword(Keyword::Export)) {
            r->exported = true;
            ++i_;
        }
        // A forward declaration only names what follows; calls are resolved when they run.
        if (IsKeyword(Keyword::Forward)) {
            ++i_;
            if (Punct(";")) ++i_;
            return;
        }
        const Keyword closer = r->isFunction ? Keyword::EndFunction : Keyword::EndProcedure;
        inFunction_ = r->isFunction;
        inRoutine_ = true;
        r->body = ParseBlock({closer});
        inRoutine_ = false;
        ExpectKeyword(closer);
        for (const auto& other : program.routines)
            if (other->name.key == r->name.key)
                throw LangError(
                    LangError::Kind::Syntax, r->pos,
                    Cp("Процедура или функция с таким именем уже определена ("_cp) + r->name.text + ")");
        program.routines.push_back(std::move(r));
    }

    host::Value ParseConstant() {
        bool negative = false;
        if (Punct("-") || Punct("+")) {
            negative = Cur().text == "-";
            ++i_;
        }
        if (Cur().kind == TokenKind::Number) {
            host::Numeric n = Cur().number;
            ++i_;
            return host::Value(negative ? -n : n);
        }
        if (Cur().kind == TokenKind::String && !negative) {
            host::Value v(Cur().text);
            ++i_;
            return v;
        }
        Expected(Cp("число или строка"_cp));
    }

    // ---- statements ----
    Block ParseBlock(std::initializer_list<Keyword> closers) {
        Block block;
        for (;;) {
            while (Punct(";")) ++i_;
            if (AtEnd()) return block;
            for (Keyword k : closers)
                if (IsKeyword(k)) return block;
            block.push_back(ParseStatement());
            EndOfStatement(closers);
        }
    }

    // Counts nesting of statements and expressions while one is parsed.
    struct Nest {
        Parser& p;
        explicit Nest(Parser& parser) : p(parser) {
            if (++p.depth_ > kMaxNesting) p.Fail(Cp("Слишком глубокая вложенность"_cp));
        }
        ~Nest() { --p.depth_; }
        Nest(const Nest&) = delete;
        Nest& operator=(const Nest&) = delete;
    };

    std::unique_ptr<Stmt> ParseStatement() {
        Nest nest(*this);
        auto s = std::make_unique<Stmt>();
        s->pos = Cur().pos;
        if (Cur().kind == TokenKind::Keyword) {
            const Keyword k = Cur().keyword;
            switch (k) {
                case Keyword::If:
                    ParseIf(*s);
                    return s;
                case Keyword::While:
                    ++i_;
                    s->kind = Stmt::Kind::While;
                    s->limit = ParseExpr();
                    ExpectKeyword(Keyword::Do);
                    s->branches.push_back(ParseLoopBody());
                    return s;
                case Keyword::For:
                    ++i_;
                    s->kind = Stmt::Kind::For;
                    s->target = std::make_unique<Expr>();
                    s->target->kind = Expr::Kind::Variable;
                    s->target->pos = Cur().pos;
                    s->target->name = ExpectName();
                    ExpectPunct("=");
                    s->value = ParseExpr();
                    ExpectKeyword(Keyword::To);
                    s->limit = ParseExpr();
                    ExpectKeyword(Keyword::Do);
                    s->branches.push_back(ParseLoopBody());
                    return s;
                case Keyword::Break:
                case Keyword::Continue:
                    if (loopDepth_ == 0)
                        Fail(Cp(k == Keyword::Break ? "Оператор Прервать вне цикла"_cp
                                                    : "Оператор Продолжить вне цикла"_cp));
                    ++i_;
                    s->kind = k == Keyword::Break ? Stmt::Kind::Break : Stmt::Kind::Continue;
                    return s;
                case Keyword::Return:
                    ++i_;
                    s->kind = Stmt::Kind::Return;
                    if (!inRoutine_) Fail(Cp("Оператор Возврат вне процедуры или функции"_cp));
                    if (inFunction_) {
                        s->value = ParseExpr();
                    } else if (!Punct(";") && Cur().kind != TokenKind::Keyword && !AtEnd()) {
                        Fail(Cp("Процедура не может возвращать значение"_cp));
                    }
                    return s;
                case Keyword::Try:
                    ++i_;
                    s->kind = Stmt::Kind::Try;
                    s->branches.push_back(ParseBlock({Keyword::Except}));
                    ExpectKeyword(Keyword::Except);
                    s->otherwise = ParseBlock({Keyword::EndTry});
                    ExpectKeyword(Keyword::EndTry);
                    return s;
                case Keyword::Raise:
                    ++i_;
                    s->kind = Stmt::Kind::Raise;
                    if (!Punct(";") && Cur().kind != TokenKind::Keyword && !AtEnd()) s->value = ParseExpr();
                    return s;
                case Keyword::Var:
                    ++i_;
                    s->kind = Stmt::Kind::Var;
                    for (;;) {
                        s->names.push_back(ExpectName());
                        if (!Punct(",")) break;
                        ++i_;
                    }
                    return s;
                default:
                    Expected(Cp("оператор"_cp));
            }
        }
        if (Cur().kind != TokenKind::Name) Expected(Cp("оператор"_cp));
        ExprPtr e = ParsePostfix();
        if (Punct("=")) {
            if (e->kind != Expr::Kind::Variable && e->kind != Expr::Kind::Member)
                Fail(Cp("Присваивать можно только переменной или свойству"_cp));
            ++i_;
            s->kind = Stmt::Kind::Assign;
            s->target = std::move(e);
            s->value = ParseExpr();
            return s;
        }
        if (e->kind != Expr::Kind::Call && e->kind != Expr::Kind::MethodCall) Expected("\"=\"");
        s->kind = Stmt::Kind::Call;
        s->value = std::move(e);
        return s;
    }

    Block ParseLoopBody() {
        ++loopDepth_;
        Block body = ParseBlock({Keyword::EndDo});
        --loopDepth_;
        ExpectKeyword(Keyword::EndDo);
        return body;
    }

    void ParseIf(Stmt& s) {
        s.kind = Stmt::Kind::If;
        ++i_;
        for (;;) {
            s.conditions.push_back(ParseExpr());
            ExpectKeyword(Keyword::Then);
            s.branches.push_back(ParseBlock({Keyword::EndIf, Keyword::ElsIf, Keyword::Else}));
            if (IsKeyword(Keyword::ElsIf)) {
                ++i_;
                continue;
            }
            if (IsKeyword(Keyword::Else)) {
                ++i_;
                s.otherwise = ParseBlock({Keyword::EndIf});
            }
            ExpectKeyword(Keyword::EndIf);
            return;
        }
    }

    // ---- expressions: ИЛИ < И < НЕ < comparisons < + - < * / % < unary < postfix ----
    ExprPtr Make(Expr::Kind kind, SourcePos pos) {
        auto e = std::make_unique<Expr>();
        e->kind = kind;
        e->pos = pos;
        return e;
    }

    ExprPtr ParseExpr() {
        ExprPtr left = ParseAnd();
        while (IsKeyword(Keyword::Or)) {
            auto e = Make(Expr::Kind::Or, Cur().pos);
            ++i_;
            e->left = std::move(left);
            e->right = ParseAnd();
            left = std::move(e);
        }
        return left;
    }

    ExprPtr ParseAnd() {
        ExprPtr left = ParseNot();
        while (IsKeyword(Keyword::And)) {
            auto e = Make(Expr::Kind::And, Cur().pos);
            ++i_;
            e->left = std::move(left);
            e->right = ParseNot();
            left = std::move(e);
        }
        return left;
    }

    ExprPtr ParseNot() {
        Nest nest(*this);
        if (IsKeyword(Keyword::Not)) {
            auto e = Make(Expr::Kind::Not, Cur().pos);
            ++i_;
            e->left = ParseNot();
            return e;
        }
        return ParseComparison();
    }

    ExprPtr ParseComparison() {
        ExprPtr left = ParseAdditive();
        while (Punct("=") || Punct("<>") || Punct("<") || Punct(">") || Punct("<=") || Punct(">=")) {
            left = Binary(std::move(left), &Parser::ParseAdditive);
        }
        return left;
    }

    ExprPtr ParseAdditive() {
        ExprPtr left = ParseMultiplicative();
        while (Punct("+") || Punct("-")) left = Binary(std::move(left), &Parser::ParseMultiplicative);
        return left;
    }

    ExprPtr ParseMultiplicative() {
        ExprPtr left = ParseUnary();
        while (Punct("*") || Punct("/") || Punct("%")) left = Binary(std::move(left), &Parser::ParseUnary);
        return left;
    }

    ExprPtr Binary(ExprPtr left, ExprPtr (Parser::*next)()) {
        auto e = Make(Expr::Kind::Binary, Cur().pos);
        e->op = Cur().text;
        ++i_;
        e->left = std::move(left);
        e->right = (this->*next)();
        return e;
    }

    ExprPtr ParseUnary() {
        Nest nest(*this);
        if (Punct("-") || Punct("+")) {
            auto e = Make(Expr::Kind::Unary, Cur().pos);
            e->op = Cur().text;
            ++i_;
            e->left = ParseUnary();
            return e;
        }
        return ParsePostfix();
    }

    std::vector<ExprPtr> ParseArguments() {
        std::vector<ExprPtr> args;
        ExpectPunct("(");
        if (Punct(")")) {
            ++i_;
            return args;
        }
        for (;;) {
            if (Punct(",") || Punct(")"))
                args.push_back(nullptr);  // omitted
            else
                args.push_back(ParseExpr());
            if (Punct(",")) {
                ++i_;
                continue;
            }
            ExpectPunct(")");
            return args;
        }
    }

    ExprPtr ParsePostfix() {
        ExprPtr e = ParsePrimary();
        while (Punct(".")) {
            ++i_;
            auto m = Make(Expr::Kind::Member, Cur().pos);
            m->name = ExpectName();
            m->left = std::move(e);
            if (Punct("(")) {
                m->kind = Expr::Kind::MethodCall;
                m->args = ParseArguments();
            }
            e = std::move(m);
        }
        if (Punct("[")) Fail(Cp("Массивы не поддерживаются"_cp));
        return e;
    }

    ExprPtr ParsePrimary() {
        const Token& t = Cur();
        switch (t.kind) {
            case TokenKind::Number: {
                auto e = Make(Expr::Kind::Literal, t.pos);
                e->value = host::Value(t.number);
                ++i_;
                return e;
            }
            case TokenKind::String: {
                auto e = Make(Expr::Kind::Literal, t.pos);
                e->value = host::Value(t.text);
                ++i_;
                return e;
            }
            case TokenKind::Name: {
                auto e = Make(Expr::Kind::Variable, t.pos);
                e->name = ExpectName();
                if (Punct("(")) {
                    e->kind = Expr::Kind::Call;
                    e->args = ParseArguments();
                }
                return e;
            }
            case TokenKind::Punct:
                if (t.text == "(") {
                    ++i_;
                    ExprPtr e = ParseExpr();
                    ExpectPunct(")");
                    return e;
                }
                if (t.text == "?") {
                    auto e = Make(Expr::Kind::Choice, t.pos);
                    ++i_;
                    e->args = ParseArguments();
                    if (e->args.size() != 3 || !e->args[0] || !e->args[1] || !e->args[2])
                        throw LangError(LangError::Kind::Syntax, e->pos,
                                        Cp("Операция ?() требует трёх выражений"_cp));
                    return e;
                }
                break;
            default:
                break;
        }
        Expected(Cp("выражение"_cp));
    }

    std::vector<Token> t_;
    std::size_t i_ = 0;
    int loopDepth_ = 0;
    int depth_ = 0;
    bool inRoutine_ = false;
    bool inFunction_ = false;
};

}  // namespace

std::unique_ptr<Program> Parse(const std::string& source) {
    return Parser(Tokenize(source)).Run();
}

std::unique_ptr<Expr> ParseExpression(const std::string& source) {
    return Parser(Tokenize(source)).RunExpression();
}

}  // namespace klt::lang
