#include "tools/methods_doc/method_docs.h"

#include <stdexcept>

#include "text/cp1251.h"

namespace klt::docs {

namespace {

std::vector<std::string_view> Split(std::string_view s, char separator) {
    std::vector<std::string_view> parts;
    if (s.empty()) return parts;
    for (;;) {
        const std::size_t at = s.find(separator);
        parts.push_back(s.substr(0, at));
        if (at == std::string_view::npos) return parts;
        s.remove_prefix(at + 1);
    }
}

std::string_view ParamName(std::string_view param) {
    return param.substr(0, param.find(':'));
}

std::string_view ParamMeaning(std::string_view param) {
    const std::size_t colon = param.find(':');
    if (colon == std::string_view::npos) return {};
    param.remove_prefix(colon + 1);
    while (!param.empty() && param.front() == ' ') param.remove_prefix(1);
    return param;
}

// Arguments of the first call of `.name(` in a line of 1C, or -1 when the line does not call it.
// Commas inside strings ("" is a quote inside one) and inside nested brackets do not count.
int ArgumentsOfCall(std::string_view line, std::string_view name) {
    const std::string call = "." + std::string(name) + "(";
    const std::size_t at = line.find(call);
    if (at == std::string_view::npos) return -1;
    std::size_t i = at + call.size();
    int depth = 0, commas = 0;
    bool inString = false, empty = true;
    for (; i < line.size(); ++i) {
        const char c = line[i];
        if (inString) {
            if (c == '"') inString = false;
            continue;
        }
        if (c == '"') {
            inString = true;
        } else if (c == '(') {
            ++depth;
        } else if (c == ')') {
            if (depth-- == 0) return empty ? 0 : commas + 1;
        } else if (c == ',' && depth == 0) {
            ++commas;
        }
        if (c != ' ') empty = false;
    }
    return -1;
}

// Prose as Markdown shows it: outside `code` a "<hall>" would be taken for an HTML tag and vanish.
std::string Prose(std::string_view text) {
    std::string out;
    bool code = false;
    for (char c : text) {
        if (c == '`') code = !code;
        out += c == '<' && !code ? std::string("&lt;") : std::string(1, c);
    }
    return out;
}

std::string Utf8(std::string_view cp1251) {
    return text::Cp1251ToUtf8(cp1251);
}

std::string Signature(const core::MethodDef& row, const MethodDoc& doc) {
    std::string s = Utf8(row.russian) + "(";
    const auto params = Split(doc.params, '\n');
    for (std::size_t i = 0; i < params.size(); ++i) s += (i ? ", " : "") + std::string(ParamName(params[i]));
    return s + ")";
}

// The entries that can describe a class's rows: its own, then the shared ones.
std::vector<const MethodDoc*> EntriesOf(const ClassDoc& c) {
    std::vector<const MethodDoc*> entries;
    for (const MethodDoc& d : c.own) entries.push_back(&d);
    for (const MethodDoc& d : c.shared) entries.push_back(&d);
    return entries;
}

const MethodDoc* EntryFor(const ClassDoc& c, const core::MethodDef& row) {
    const std::string name = Utf8(row.russian);
    for (const MethodDoc* d : EntriesOf(c))
        if (d->name == name) return d;
    return nullptr;
}

std::string Kind(const core::MethodDef& row) {
    return row.hasResult ? "function" : "procedure";
}

}  // namespace

std::vector<std::string> Problems(std::span<const ClassDoc> classes) {
    std::vector<std::string> problems;
    for (const ClassDoc& c : classes) {
        const std::span<const core::MethodDef> rows(c.info->methods, c.info->methodCount);
        const std::string where = std::string(c.name) + ".";
        for (const core::MethodDef& row : rows) {
            const std::string name = Utf8(row.russian);
            int entries = 0;
            for (const MethodDoc* d : EntriesOf(c)) entries += d->name == name;
            if (entries != 1) {
                problems.push_back(where + name + ": " + std::to_string(entries) + " docs entries, not 1");
                continue;
            }
            const MethodDoc& doc = *EntryFor(c, row);
            const int documented = static_cast<int>(Split(doc.params, '\n').size());
            if (documented != row.params)
                problems.push_back(where + name + ": the table has " + std::to_string(row.params) +
                                   " parameters, the docs " + std::to_string(documented));
            if (row.hasResult && doc.result.empty())
                problems.push_back(where + name + ": a function whose docs give no result");
            if (!row.hasResult && !doc.result.empty())
                problems.push_back(where + name + ": a procedure whose docs give a result");
            const int arguments = ArgumentsOfCall(doc.example, name);
            if (arguments != row.params)
                problems.push_back(where + name + ": the example does not call ." + name + "( with " +
                                   std::to_string(row.params) + " arguments: " + std::string(doc.example));
        }
        for (const MethodDoc* d : EntriesOf(c)) {
            bool found = false;
            for (const core::MethodDef& row : rows) found = found || Utf8(row.russian) == d->name;
            if (!found) problems.push_back(where + std::string(d->name) + ": docs entry without a table row");
        }
    }
    return problems;
}

std::string RenderReference(std::span<const ClassDoc> classes) {
    const std::vector<std::string> problems = Problems(classes);
    if (!problems.empty()) {
        std::string all = "the method tables and their docs disagree:";
        for (const std::string& p : problems) all += "\n  " + p;
        throw std::logic_error(all);
    }
    std::string md;
    md += "# KLT DRV: methods of the 1C objects\n\n";
    md +=
        "<!-- Generated from the add-in's method tables and tools/methods_doc/method_texts.cpp;\n"
        "     do not edit. Regenerate: cmake --build --preset native --target methods_doc -->\n\n";
    md +=
        "The add-in registers six object types. The configuration's 1C code creates an object by its\n"
        "name with `СоздатьОбъект` and calls its methods by their Russian names; the printers also\n"
        "answer to English names. Letter case in a method name does not matter. Parameters may be\n"
        "left out from the end: a missing one reads as 0 or as an empty string. Numbers are taken as\n"
        "whole numbers (the fraction is dropped). A *procedure* is called as a statement, a *function*\n"
        "gives a value.\n\n";
    md +=
        "A method marked *not yet available* is known to the host but not built in this release:\n"
        "calling it raises the run-time error «Метод \"…\" объекта \"…\" пока недоступен».\n\n";
    md += "| Object | What it is | Methods |\n|---|---|---|\n";
    for (const ClassDoc& c : classes)
        md += "| `" + std::string(c.name) + "` | " + std::string(c.title) + " | " +
              std::to_string(c.info->methodCount) + " |\n";
    for (const ClassDoc& c : classes) {
        md += "\n## " + std::string(c.name) + ": " + std::string(c.title) + "\n\n";
        md += Prose(c.about) + "\n\n";
        md +=
            "```\n" + std::string(c.variable) + " = СоздатьОбъект(\"" + std::string(c.name) + "\");\n```\n\n";
        const std::span<const core::MethodDef> rows(c.info->methods, c.info->methodCount);
        const bool english = !rows.empty() && !rows.front().english.empty();
        md += english ? "| Method | English | Kind |\n|---|---|---|\n" : "| Method | Kind |\n|---|---|\n";
        for (const core::MethodDef& row : rows) {
            md += "| `" + Signature(row, *EntryFor(c, row)) + "` | ";
            if (english) md += "`" + std::string(row.english) + "` | ";
            md += Kind(row) + (row.body ? "" : ", not yet available") + " |\n";
        }
        for (const core::MethodDef& row : rows) {
            const MethodDoc& doc = *EntryFor(c, row);
            md += "\n### " + std::string(c.name) + "." + Utf8(row.russian);
            if (!row.english.empty()) md += " (" + std::string(row.english) + ")";
            md += "\n\n";
            if (!row.body) md += "*Not yet available in this release.*\n\n";
            md += "`" + Signature(row, doc) + "`: " + Kind(row) + ". " + Prose(doc.what) + "\n\n";
            for (std::string_view p : Split(doc.params, '\n'))
                md += "- `" + std::string(ParamName(p)) + "`: " + Prose(ParamMeaning(p)) + "\n";
            if (!doc.params.empty()) md += "\n";
            if (!doc.result.empty()) md += "Result: " + Prose(doc.result) + "\n\n";
            md += "```\n" + std::string(doc.example) + "\n```\n";
        }
    }
    return md;
}

}  // namespace klt::docs
