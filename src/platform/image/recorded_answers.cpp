#include "platform/image/recorded_answers.h"

#include "common/text.h"
#include "platform/recording/capture_lines.h"

namespace fernwick::image {
namespace {

using recording::CaptureLine;

const std::set<std::string_view> kPathKinds{"nofile", "nofolder",   "content", "unreadable",
                                            "listed", "subfolders", "nodate"};

class Parser {
 public:
  explicit Parser(RecordedAnswers& answers) : answers_(answers) {}

  void Line(const CaptureLine& line) {
    line_ = &line;
    const std::string kind = Text(0);
    const bool resultLine = kind == "columns" || kind == "row" || kind == "error";
    if (!resultLine) CloseResult();
    if (kPathKinds.count(kind) > 0) {
      Count(2);
      answers_.paths[kind].insert(ToUpper(Text(1)));
    } else if (kind == "key") {
      Count(3);
      answers_.keyCodes[ToUpper(Text(1))] = Code(2);
    } else if (kind == "value") {
      Count(4);
      answers_.valueCodes[ToUpper(Text(1)) + "\n" + ToUpper(Text(2))] = Code(3);
    } else if (kind == "subkeys") {
      if (line.fields.size() < 3 || (Text(2) != "complete" && Text(2) != "partial"))
        Fail("expected subkeys PATH complete|partial NAME...");
      std::vector<std::string> names;
      for (std::size_t i = 3; i < line.fields.size(); ++i) names.push_back(Text(i));
      answers_.subkeys[ToUpper(Text(1))] = {Text(2) == "complete", std::move(names)};
    } else if (kind == "order") {
      if (line.fields.size() < 3 || (Text(2) != "files" && Text(2) != "folders")) {
        Fail("expected order PATH files|folders NAME...");
      }
      std::vector<std::string> names;
      for (std::size_t i = 3; i < line.fields.size(); ++i) names.push_back(Text(i));
      (Text(2) == "files" ? answers_.fileOrder : answers_.folderOrder)[ToUpper(Text(1))] = std::move(names);
    } else if (kind == "nodrive") {
      Count(2);
      answers_.drives[ToUpper(Text(1))] = std::nullopt;
    } else if (kind == "drive") {
      Count(4);
      const auto total = recording::ParseDecimal(Text(2));
      const auto free = recording::ParseDecimal(Text(3));
      if (!total || !free || *free > *total) Fail("bad drive figures");
      answers_.drives[ToUpper(Text(1))] = platform::DriveSpace{static_cast<double>(*total), static_cast<double>(*free)};
    } else if (kind == "language") {
      Count(3);
      const auto id = recording::ParseHexWord(Text(1));
      if (!id) Fail("bad language id");
      answers_.languageNames[*id] = Text(2);
    } else if (kind == "query") {
      Count(3);
      answers_.queries.push_back({{Text(1), Text(2)}, {}});
      result_ = &answers_.queries.back().second;
      resultOpen_ = true;
    } else if (kind == "server") {
      Count(2);
      answers_.servers.push_back({Text(1), std::nullopt, {}});
      answers_.servers.back().openError = RecordedResult{};
      result_ = &*answers_.servers.back().openError;
      resultOpen_ = true;
      serverOpen_ = true;
    } else if (kind == "execute") {
      Count(2);
      if (answers_.servers.empty()) Fail("execute without a server");
      answers_.servers.back().executed.push_back({Text(1), {}});
      result_ = &answers_.servers.back().executed.back().second;
      resultOpen_ = true;
    } else if (resultLine) {
      Result(kind);
    } else if (kind == "page" || kind == "pageread" || kind == "start" || kind == "wait") {
      Count(3);
      const auto code = recording::ParseDecimal(Text(2));
      if (!code || *code > 0xFFFFFFFFull) Fail("bad code");
      auto& target = kind == "page"       ? answers_.pageOpenErrors
                     : kind == "pageread" ? answers_.pageReadErrors
                     : kind == "start"    ? answers_.failedStarts
                                          : answers_.waits;
      target[Text(1)] = static_cast<std::uint32_t>(*code);
    } else if (kind == "unended") {
      Count(2);
      answers_.unended.insert(Text(1));
    } else {
      Fail("unknown answer \"" + kind + "\"");
    }
  }

  void End() { CloseResult(); }

 private:
  [[noreturn]] void Fail(const std::string& why) const {
    throw RecordedAnswersError("answers.txt:" + std::to_string(line_->number) + ": " + why);
  }
  void Count(std::size_t fields) const {
    if (line_->fields.size() != fields) Fail("expected " + std::to_string(fields) + " fields");
  }
  std::string Text(std::size_t index) const {
    if (index >= line_->fields.size() || !line_->fields[index])
      Fail("field " + std::to_string(index + 1) + " missing or NULL");
    return *line_->fields[index];
  }
  long Code(std::size_t index) const {
    const auto code = recording::ParseDecimal(Text(index));
    if (!code || *code > 0x7FFFFFFFull) Fail("bad code");
    return static_cast<long>(*code);
  }

  void Result(const std::string& kind) {
    if (!resultOpen_) Fail(kind + " without a query");
    if (kind == "error") {
      Count(3);
      if (!columns_.empty()) Fail("error after columns");
      const std::string number = Text(1);
      const bool negative = !number.empty() && number[0] == '-';
      const auto magnitude = recording::ParseDecimal(negative ? number.substr(1) : number);
      if (!magnitude || *magnitude > 0x80000000ull) Fail("bad error number");
      result_->errorNumber = negative ? -static_cast<long>(*magnitude) : static_cast<long>(*magnitude);
      result_->errorText = Text(2);
      hasError_ = true;
      return;
    }
    if (hasError_) Fail(kind + " after error");
    if (serverOpen_) Fail(kind + " after server");
    if (kind == "columns") {
      if (haveColumns_) Fail("columns twice");
      for (std::size_t i = 1; i < line_->fields.size(); ++i) columns_.push_back(Text(i));
      haveColumns_ = true;
      return;
    }
    if (!haveColumns_) Fail("row before columns");
    if (line_->fields.size() != columns_.size() + 1) Fail("row with another number of fields than columns");
    rows_.emplace_back(line_->fields.begin() + 1, line_->fields.end());
  }

  void CloseResult() {
    if (!resultOpen_) return;
    if (haveColumns_) {
      result_->records = platform::RecordSet(std::move(columns_), std::move(rows_));
    } else if (!hasError_ && !serverOpen_) {
      Fail("query without columns or error");
    }
    if (serverOpen_ && !hasError_ && !haveColumns_) answers_.servers.back().openError.reset();
    columns_.clear();
    rows_.clear();
    haveColumns_ = hasError_ = resultOpen_ = serverOpen_ = false;
    result_ = nullptr;
  }

  RecordedAnswers& answers_;
  const CaptureLine* line_ = nullptr;
  RecordedResult* result_ = nullptr;
  bool resultOpen_ = false, serverOpen_ = false, haveColumns_ = false, hasError_ = false;
  std::vector<std::string> columns_;
  std::vector<std::vector<platform::FieldValue>> rows_;
};

}  // namespace

bool RecordedAnswers::Has(const std::string& kind, const std::string& upperPath) const {
  const auto found = paths.find(kind);
  return found != paths.end() && found->second.count(upperPath) > 0;
}

RecordedAnswers ParseRecordedAnswers(std::string_view text) {
  RecordedAnswers answers;
  Parser parser(answers);
  const std::vector<CaptureLine> lines = recording::SplitCaptureLines(text);
  for (const CaptureLine& line : lines) parser.Line(line);
  parser.End();
  return answers;
}

}  // namespace fernwick::image
