#include "reference_notes.h"

#include "com_util.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace zolbex::tlbgen::reference {

namespace {

bool StartsWith(const std::string& text, const std::string& prefix) { return text.compare(0, prefix.size(), prefix) == 0; }

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

class Parser {
public:
    Parser(const std::string& file, Notes& notes) : file_(file), notes_(notes) {}

    void Line(std::string line) {
        ++number_;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (inExample_) {
            if (line == "```") {
                inExample_ = false;
                if (!example_->empty() && example_->back() == '\n') example_->pop_back();
            } else {
                *example_ += line + "\n";
            }
            return;
        }
        if (StartsWith(line, "## ")) return StartMember(Trimmed(line.substr(3)));
        if (StartsWith(line, "# ")) return StartTop(Trimmed(line.substr(2)));
        const std::string text = Trimmed(line);
        if (text.empty()) {
            EndParagraph();
            return;
        }
        if (!top_ && !member_) Fail("text outside a section");
        if (StartsWith(text, "```")) return StartExample();
        if (member_ && paragraph_ == nullptr && list_ == nullptr) {
            if (Field(text, "Summary: ", member_->summary) || Field(text, "Result: ", member_->result)) return;
            if (StartsWith(text, "See also: ")) return SeeAlso(text.substr(10));
            if (text == "Parameters:") return StartList(member_->parameters);
            if (text == "Errors:") return StartList(member_->errors);
        }
        if (list_) return ListLine(text);
        if (!paragraph_) {
            paragraph_ = member_ ? &member_->text : &top_->text;
            if (!paragraph_->empty()) *paragraph_ += "\n\n";
            paragraph_->append(text);
            return;
        }
        *paragraph_ += " " + text;
    }

    void End() {
        if (inExample_) Fail("an example without its closing ```");
    }

private:
    [[noreturn]] void Fail(const std::string& what) const {
        throw GenerationError("notes " + file_ + ":" + std::to_string(number_) + ": " + what);
    }

    void EndParagraph() {
        paragraph_ = nullptr;
        list_ = nullptr;
    }

    void StartTop(const std::string& name) {
        EndParagraph();
        member_ = nullptr;
        notes_.tops.push_back({name, "", "", file_});
        top_ = &notes_.tops.back();
    }

    void StartMember(const std::string& key) {
        EndParagraph();
        const size_t dot = key.find('.');
        if (dot == std::string::npos) Fail("a member heading is not Interface.Member: " + key);
        top_ = nullptr;
        MemberNote note;
        note.interfaceName = key.substr(0, dot);
        note.memberName = key.substr(dot + 1);
        note.file = file_;
        notes_.members.push_back(note);
        member_ = &notes_.members.back();
    }

    void StartExample() {
        EndParagraph();
        example_ = member_ ? &member_->example : &top_->example;
        if (!example_->empty()) Fail("a second example in one section");
        inExample_ = true;
    }

    bool Field(const std::string& text, const char* label, std::string& field) {
        if (!StartsWith(text, label)) return false;
        if (!field.empty()) Fail(std::string("a second ") + label);
        field = text.substr(std::string(label).size());
        paragraph_ = &field;
        return true;
    }

    void SeeAlso(const std::string& list) {
        std::stringstream items(list);
        std::string item;
        while (std::getline(items, item, ',')) {
            item = Trimmed(item);
            if (item.size() < 3 || item.front() != '`' || item.back() != '`') Fail("See also names are written `Name`");
            member_->seeAlso.push_back(item.substr(1, item.size() - 2));
        }
    }

    void StartList(std::vector<Entry>& list) {
        if (!list.empty()) Fail("a second list of the same kind");
        list_ = &list;
    }

    void ListLine(const std::string& text) {
        if (!StartsWith(text, "- ")) {  // the previous entry goes on
            if (list_->empty()) Fail("a list without its first entry");
            list_->back().text += " " + text;
            return;
        }
        const size_t close = text.find("`: ", 3);
        if (text.size() < 3 || text[2] != '`' || close == std::string::npos) Fail("an entry is not - `name`: text");
        list_->push_back({text.substr(3, close - 3), text.substr(close + 3)});
    }

    std::string file_;
    Notes& notes_;
    int number_ = 0;
    TopNote* top_ = nullptr;
    MemberNote* member_ = nullptr;
    std::string* paragraph_ = nullptr;
    std::vector<Entry>* list_ = nullptr;
    std::string* example_ = nullptr;
    bool inExample_ = false;
};

}  // namespace

void ParseNotes(const std::string& markdown, const std::string& file, Notes& notes) {
    // Sections point into the vectors while they are filled: room for this file's sections first.
    notes.tops.reserve(notes.tops.size() + std::count(markdown.begin(), markdown.end(), '#'));
    notes.members.reserve(notes.members.size() + std::count(markdown.begin(), markdown.end(), '#'));
    Parser parser(file, notes);
    std::stringstream lines(markdown);
    std::string line;
    while (std::getline(lines, line)) parser.Line(line);
    parser.End();
}

Notes ReadNotes(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*.md").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) throw GenerationError("no notes in " + Narrow(folder.c_str()));
    do names.push_back(found.cFileName);
    while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());

    Notes notes;
    for (const std::wstring& name : names) {
        const std::wstring path = folder + L"\\" + name;
        FILE* f = _wfopen(path.c_str(), L"rb");
        if (!f) throw GenerationError("cannot read " + Narrow(path.c_str()));
        std::string text;
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) text.append(buffer, n);
        std::fclose(f);
        ParseNotes(text, Narrow(name.c_str()), notes);
    }
    return notes;
}

}  // namespace zolbex::tlbgen::reference
