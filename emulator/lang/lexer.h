#pragma once
// Tokens of the 1C language. Keywords and names compare without regard to case; each keyword has a
// Russian and an English spelling.
#include <string>
#include <vector>

#include "core/numeric.h"
#include "emulator/lang/error.h"

namespace klt::lang {

enum class Keyword {
    None,
    Var,
    Procedure,
    EndProcedure,
    Function,
    EndFunction,
    Val,
    Export,
    Forward,
    Return,
    If,
    Then,
    ElsIf,
    Else,
    EndIf,
    While,
    For,
    To,
    Do,
    EndDo,
    Break,
    Continue,
    Try,
    Except,
    EndTry,
    Raise,
    And,
    Or,
    Not,
};

enum class TokenKind { End, Name, Keyword, Number, String, Punct };

struct Token {
    TokenKind kind = TokenKind::End;
    Keyword keyword = Keyword::None;
    std::string text;  // CP1251: the name as written, the string's value, or the punctuation
    host::Numeric number;
    SourcePos pos;
};

// Splits CP1251 module text into tokens; the last one is End. Throws a syntax LangError.
std::vector<Token> Tokenize(const std::string& source);

// The name folded to small letters, the key names are compared by.
std::string FoldName(const std::string& name);

}  // namespace klt::lang
