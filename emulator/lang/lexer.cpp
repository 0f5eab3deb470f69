#include "emulator/lang/lexer.h"

#include <algorithm>
#include <map>

#include "text/cp1251.h"
#include "text/literal.h"

namespace klt::lang {

using namespace klt::text::literals;

namespace {

struct KeywordSpelling {
    std::string_view russian, english;
    Keyword keyword;
};

const KeywordSpelling kKeywords[] = {
    {"Перем"_cp, "Var", Keyword::Var},
    {"Процедура"_cp, "Procedure", Keyword::Procedure},
    {"КонецПроцедуры"_cp, "EndProcedure", Keyword::EndProcedure},
    {"Функция"_cp, "Function", Keyword::Function},
    {"КонецФункции"_cp, "EndFunction", Keyword::EndFunction},
    {"Знач"_cp, "Val", Keyword::Val},
    {"Экспорт"_cp, "Export", Keyword::Export},
    {"Далее"_cp, "Forward", Keyword::Forward},
    {"Возврат"_cp, "Return", Keyword::Return},
    {"Если"_cp, "If", Keyword::If},
    {"Тогда"_cp, "Then", Keyword::Then},
    {"ИначеЕсли"_cp, "ElsIf", Keyword::ElsIf},
    {"Иначе"_cp, "Else", Keyword::Else},
    {"КонецЕсли"_cp, "EndIf", Keyword::EndIf},
    {"Пока"_cp, "While", Keyword::While},
    {"Для"_cp, "For", Keyword::For},
    {"По"_cp, "To", Keyword::To},
    {"Цикл"_cp, "Do", Keyword::Do},
    {"КонецЦикла"_cp, "EndDo", Keyword::EndDo},
    {"Прервать"_cp, "Break", Keyword::Break},
    {"Продолжить"_cp, "Continue", Keyword::Continue},
    {"Попытка"_cp, "Try", Keyword::Try},
    {"Исключение"_cp, "Except", Keyword::Except},
    {"КонецПопытки"_cp, "EndTry", Keyword::EndTry},
    {"ВызватьИсключение"_cp, "Raise", Keyword::Raise},
    {"И"_cp, "And", Keyword::And},
    {"ИЛИ"_cp, "Or", Keyword::Or},
    {"НЕ"_cp, "Not", Keyword::Not},
};

const std::map<std::string, Keyword>& KeywordTable() {
    static const std::map<std::string, Keyword> table = [] {
        std::map<std::string, Keyword> t;
        for (const KeywordSpelling& k : kKeywords) {
            t[FoldName(std::string(k.russian))] = k.keyword;
            t[FoldName(std::string(k.english))] = k.keyword;
        }
        return t;
    }();
    return table;
}

// Letters of names: ASCII letters, the underscore and the Russian letters of CP1251 (Ё/ё included).
bool IsNameStart(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 0xC0 || c == 0xA8 ||
           c == 0xB8;
}

bool IsDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

class Lexer {
  public:
    explicit Lexer(const std::string& s) : s_(s) {}

    std::vector<Token> Run() {
        std::vector<Token> out;
        for (;;) {
            SkipBlanks();
            Token t;
            t.pos = Pos();
            if (i_ >= s_.size()) {
                out.push_back(t);
                return out;
            }
            const auto c = static_cast<unsigned char>(s_[i_]);
            if (IsNameStart(c)) {
                std::size_t start = i_;
                while (i_ < s_.size() && (IsNameStart(Byte(i_)) || IsDigit(Byte(i_)))) Advance();
                t.text = s_.substr(start, i_ - start);
                auto k = KeywordTable().find(FoldName(t.text));
                if (k != KeywordTable().end()) {
                    t.kind = TokenKind::Keyword;
                    t.keyword = k->second;
                } else {
                    t.kind = TokenKind::Name;
                }
            } else if (IsDigit(c)) {
                std::size_t start = i_;
                while (i_ < s_.size() && IsDigit(Byte(i_))) Advance();
                if (i_ + 1 < s_.size() && s_[i_] == '.' && IsDigit(Byte(i_ + 1))) {
                    Advance();
                    while (i_ < s_.size() && IsDigit(Byte(i_))) Advance();
                }
                t.kind = TokenKind::Number;
                t.text = s_.substr(start, i_ - start);
                // A whole part the decimal number cannot hold would silently become another number.
                const std::size_t whole =
                    t.text.find('.') == std::string::npos ? t.text.size() : t.text.find('.');
                const std::size_t zeros = std::min(t.text.find_first_not_of('0'), whole);
                const std::string_view digits = std::string_view(t.text).substr(zeros, whole - zeros);
                if (digits.size() > 19 || (digits.size() == 19 && digits > "9223372036854775807"))
                    throw LangError(LangError::Kind::Syntax, t.pos, std::string("Слишком большое число"_cp));
                t.number = host::Numeric::Parse(t.text);
            } else if (c == '"') {
                t.kind = TokenKind::String;
                t.text = ReadString(t.pos);
            } else if (c == '\'') {
                throw LangError(LangError::Kind::Syntax, t.pos, std::string("Даты не поддерживаются"_cp));
            } else {
                t.kind = TokenKind::Punct;
                for (std::string_view two :
                     {std::string_view("<>"), std::string_view("<="), std::string_view(">=")})
                    if (std::string_view(s_).substr(i_, 2) == two) t.text = s_.substr(i_, 2);
                if (t.text.empty()) {
                    if (std::string_view("+-*/%=<>(),;.?[]").find(static_cast<char>(c)) ==
                        std::string_view::npos)
                        throw LangError(
                            LangError::Kind::Syntax, t.pos,
                            std::string("Недопустимый символ \""_cp) + static_cast<char>(c) + "\"");
                    t.text = std::string(1, static_cast<char>(c));
                }
                for (std::size_t k = 0; k < t.text.size(); ++k) Advance();
            }
            out.push_back(std::move(t));
        }
    }

  private:
    unsigned char Byte(std::size_t at) const { return static_cast<unsigned char>(s_[at]); }
    SourcePos Pos() const { return {line_, column_}; }

    void Advance() {
        if (s_[i_] == '\n') {
            ++line_;
            column_ = 1;
        } else if (s_[i_] != '\r') {
            ++column_;
        }
        ++i_;
    }

    void SkipBlanks() {
        while (i_ < s_.size()) {
            const char c = s_[i_];
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v') {
                Advance();
            } else if (c == '/' && i_ + 1 < s_.size() && s_[i_ + 1] == '/') {
                while (i_ < s_.size() && s_[i_] != '\n') Advance();
            } else {
                return;
            }
        }
    }

    // A quoted text: "" is a quote; a line break continues the text on the next line after its "|".
    std::string ReadString(SourcePos start) {
        std::string value;
        Advance();  // the opening quote
        for (;;) {
            if (i_ >= s_.size())
                throw LangError(LangError::Kind::Syntax, start, std::string("Не закрыта строка"_cp));
            const char c = s_[i_];
            if (c == '"') {
                Advance();
                if (i_ < s_.size() && s_[i_] == '"') {
                    value += '"';
                    Advance();
                    continue;
                }
                return value;
            }
            if (c == '\r') {
                Advance();
                continue;
            }
            if (c == '\n') {
                Advance();
                while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t' || s_[i_] == '\r')) Advance();
                if (i_ >= s_.size() || s_[i_] != '|')
                    throw LangError(
                        LangError::Kind::Syntax, start,
                        std::string("Не закрыта строка (продолжение строки начинается с \"|\")"_cp));
                Advance();
                value += '\n';
                continue;
            }
            value += c;
            Advance();
        }
    }

    const std::string& s_;
    std::size_t i_ = 0;
    int line_ = 1;
    int column_ = 1;
};

}  // namespace

std::string FoldName(const std::string& name) {
    std::string folded = name;
    for (char& c : folded) c = static_cast<char>(text::ToLower(static_cast<unsigned char>(c)));
    return folded;
}

std::vector<Token> Tokenize(const std::string& source) {
    return Lexer(source).Run();
}

}  // namespace klt::lang
