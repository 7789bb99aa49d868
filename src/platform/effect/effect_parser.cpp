// The effect file parser: a line-based reader of techniques, passes, states and GLSL blocks.
#include "platform/effect/effect_parser.hpp"

#include <initializer_list>

#include "platform/effect/render_state_names.hpp"
#include "platform/files/bounded_file.hpp"
#include "platform/files/message_text.hpp"

namespace platform {

namespace {

constexpr int kMaxErrors = 50;  // past this a file is clearly not an effect file


bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
    return s;
}

bool IsIdentifier(std::string_view s) {
    if (s.empty()) return false;
    for (size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
        const bool digit = c >= '0' && c <= '9';
        if (!letter && !(digit && i > 0)) return false;
    }
    return true;
}

// Splits "word rest" at the first blank.
void SplitWord(std::string_view line, std::string_view& word, std::string_view& rest) {
    size_t i = 0;
    while (i < line.size() && !IsSpace(line[i])) ++i;
    word = line.substr(0, i);
    rest = Trim(line.substr(i));
}

class Parser {
public:
    Parser(std::string_view text, const std::string& fileName) : text_(text), file_(fileName) {}

    bool Run(EffectDescription& out, std::string& errors) {
        out = EffectDescription{};
        out.fileName = file_;
        std::string_view line;
        while (NextLine(line)) {
            if (errorCount_ >= kMaxErrors) break;
            Statement(line, out);
        }
        if (shader_) Error(shaderOpenLine_, Cat({"\"", shaderKeyword_, "\" block has no \"end_shader\""}));
        FinishTechnique(out);
        if (out.techniques.empty() && errorCount_ == 0) Error(lineNo_ > 0 ? lineNo_ : 1, "the file declares no technique");
        if (errorCount_ > 0) {
            errors = errors_;
            out = EffectDescription{};
            out.fileName = file_;
            return false;
        }
        return true;
    }

private:
    // The next line without its line break; false at the end of the text.
    bool NextLine(std::string_view& line) {
        if (pos_ >= text_.size()) return false;
        const size_t end = text_.find('\n', pos_);
        const size_t stop = end == std::string_view::npos ? text_.size() : end;
        line = text_.substr(pos_, stop - pos_);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        pos_ = end == std::string_view::npos ? text_.size() : end + 1;
        ++lineNo_;
        return true;
    }

    void Error(int line, const std::string& message) {
        if (errorCount_ >= kMaxErrors) return;
        ++errorCount_;
        if (!errors_.empty()) errors_ += '\n';
        errors_ += file_ + "(" + std::to_string(line) + "): " + message;
    }

    void Statement(std::string_view raw, EffectDescription& out) {
        if (raw.find('\0') != std::string_view::npos) {
            Error(lineNo_, "the line holds a NUL byte; effect files are text");
            return;
        }
        if (shader_) {
            if (Trim(raw) == "end_shader") {
                shader_ = nullptr;
            } else {
                shader_->append(raw);
                shader_->push_back('\n');
            }
            return;
        }
        std::string_view line = raw;
        if (const size_t comment = line.find("//"); comment != std::string_view::npos) line = line.substr(0, comment);
        line = Trim(line);
        if (line.empty()) return;

        std::string_view word, rest;
        SplitWord(line, word, rest);
        if (word == "technique") {
            FinishTechnique(out);
            // A bad name is reported, and the technique is still read so that the lines below
            // it are checked as its passes.
            if (!IsIdentifier(rest))
                Error(lineNo_, "\"technique\" needs a name (letters, digits, '_')");
            else if (out.FindTechnique(rest))
                Error(lineNo_, Cat({"technique \"", rest, "\" is declared twice"}));
            technique_ = EffectTechnique{};
            technique_.name = rest;
            technique_.line = lineNo_;
            inTechnique_ = true;
        } else if (word == "pass") {
            if (!inTechnique_) {
                Error(lineNo_, "\"pass\" outside a technique");
                return;
            }
            if (!rest.empty() && !IsIdentifier(rest)) {
                Error(lineNo_, "a pass name is letters, digits and '_'");
                return;
            }
            FinishPass();
            technique_.passes.emplace_back();
            technique_.passes.back().name = rest;
            technique_.passes.back().line = lineNo_;
        } else if (word == "vertex_shader" || word == "fragment_shader") {
            OpenShader(word, rest);
        } else if (word == "end_shader") {
            Error(lineNo_, "\"end_shader\" without a shader block");
        } else if (const size_t eq = line.find('='); eq != std::string_view::npos) {
            State(Trim(line.substr(0, eq)), Trim(line.substr(eq + 1)));
        } else {
            Error(lineNo_, Cat({"unknown statement \"", word,
                                "\" (expected technique, pass, vertex_shader, fragment_shader or STATE = VALUE)"}));
        }
    }

    void OpenShader(std::string_view word, std::string_view rest) {
        EffectPass* pass = CurrentPass();
        if (!pass) {
            Error(lineNo_, Cat({"\"", word, "\" outside a pass"}));
        } else if (!rest.empty()) {
            Error(lineNo_, Cat({"\"", word, "\" stands alone on its line; the GLSL starts on the next line"}));
        }
        const bool vertex = word == "vertex_shader";
        shaderKeyword_ = vertex ? "vertex_shader" : "fragment_shader";
        shaderOpenLine_ = lineNo_;
        scratch_.clear();
        shader_ = &scratch_;
        if (pass && rest.empty()) {
            int& start = vertex ? pass->vertexLine : pass->fragmentLine;
            if (start != 0) {
                Error(lineNo_, Cat({"the pass already has a ", vertex ? "vertex" : "fragment", " shader"}));
                return;
            }
            start = lineNo_ + 1;
            shader_ = vertex ? &pass->vertexSource : &pass->fragmentSource;
        }
    }

    void State(std::string_view name, std::string_view valueText) {
        EffectPass* pass = CurrentPass();
        if (!pass) {
            Error(lineNo_, Cat({"render state \"", name, "\" outside a pass"}));
            return;
        }
        const std::optional<RenderState> state = RenderStateFromName(name);
        if (!state) {
            Error(lineNo_, Cat({"unknown render state \"", name, "\""}));
            return;
        }
        uint32_t value = 0;
        std::string why;
        if (!ParseRenderStateValue(*state, valueText, value, why)) {
            Error(lineNo_, Cat({"bad value \"", valueText, "\": ", why}));
            return;
        }
        for (const EffectStateValue& s : pass->states) {
            if (s.state == *state) {
                Error(lineNo_, std::string(RenderStateName(*state)) + " is set twice in this pass");
                return;
            }
        }
        pass->states.push_back({*state, value});
    }

    EffectPass* CurrentPass() { return inTechnique_ && !technique_.passes.empty() ? &technique_.passes.back() : nullptr; }

    void FinishPass() {
        if (!inTechnique_ || technique_.passes.empty()) return;
        const EffectPass& pass = technique_.passes.back();
        if (pass.vertexLine == 0) Error(pass.line, "the pass has no vertex_shader");
        if (pass.fragmentLine == 0) Error(pass.line, "the pass has no fragment_shader");
    }

    void FinishTechnique(EffectDescription& out) {
        if (!inTechnique_) return;
        FinishPass();
        if (technique_.passes.empty())
            Error(technique_.line, "technique \"" + technique_.name + "\" has no pass");
        out.techniques.push_back(std::move(technique_));
        technique_ = EffectTechnique{};
        inTechnique_ = false;
    }

    std::string_view text_;
    const std::string& file_;
    size_t pos_ = 0;
    int lineNo_ = 0;
    std::string errors_;
    int errorCount_ = 0;
    EffectTechnique technique_;
    bool inTechnique_ = false;
    std::string* shader_ = nullptr;  // where block lines go while inside a shader block
    std::string scratch_;            // the sink of a block that belongs nowhere (after an error)
    const char* shaderKeyword_ = "";
    int shaderOpenLine_ = 0;
};

}  // namespace

bool ParseEffect(std::string_view text, const std::string& fileName, EffectDescription& out, std::string& errors) {
    if (text.size() > kMaxEffectFileSize) {
        out = EffectDescription{};
        out.fileName = fileName;
        errors = fileName + "(1): the file is larger than " + std::to_string(kMaxEffectFileSize) + " bytes";
        return false;
    }
    return Parser(text, fileName).Run(out, errors);
}

bool LoadEffectFile(const std::string& path, EffectDescription& out, std::string& errors) {
    out = EffectDescription{};
    out.fileName = path;
    std::string text, why;
    if (!ReadBoundedFile(path, kMaxEffectFileSize, "the most an effect file may hold", &text, &why)) {
        errors = path + ": " + why;
        return false;
    }
    return ParseEffect(text, path, out, errors);
}

}  // namespace platform
