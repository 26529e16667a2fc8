#include "platform/image/recorded_answers.h"

#include <cstdint>
#include <deque>
#include <limits>

#include "common/text.h"
#include "platform/recording/capture_lines.h"

namespace fernwick::image {
namespace {

using recording::CaptureField;
using recording::CaptureLineText;

// SQL Server answers at most 4096 columns.
constexpr std::size_t kMostColumns = 4096;

const std::set<std::string_view> kPathKinds{"nofile", "nofolder", "unreadable", "listed", "nodate"};

std::shared_ptr<const NameList> Shared(NameList names) {
  return std::make_shared<const NameList>(std::move(names));
}

// The rows of a recorded answer as they were written: each row's fields
// are split and unescaped when the record set comes to it. A row costs its
// text and four bytes, an empty or NULL field one or two bytes, and rows
// of an answer without columns (rows only counted) cost nothing but their
// number. Deques grow without copying, so the peak is what is held.
class RecordedRows : public platform::RowSource {
 public:
  explicit RecordedRows(std::size_t columns) : columns_(columns) {}

  // False when the rows' text would pass what four bytes can place.
  bool Add(std::string_view fields) {
    ++count_;
    if (columns_ == 0) return true;
    if (fields.size() > std::numeric_limits<std::uint32_t>::max() - text_.size()) return false;
    text_.insert(text_.end(), fields.begin(), fields.end());
    ends_.push_back(static_cast<std::uint32_t>(text_.size()));
    return true;
  }
  std::size_t Count() const override { return count_; }
  std::vector<platform::FieldValue> Row(std::size_t index) const override {
    std::vector<platform::FieldValue> fields;
    if (columns_ == 0) return fields;
    const std::size_t begin = index == 0 ? 0 : ends_[index - 1];
    const std::string line(text_.begin() + static_cast<std::ptrdiff_t>(begin),
                           text_.begin() + static_cast<std::ptrdiff_t>(ends_[index]));
    recording::CaptureLineText reading(0, line);
    fields.reserve(columns_);
    for (CaptureField field; reading.NextField(field);) fields.push_back(std::move(field));
    return fields;
  }

 private:
  std::size_t columns_;
  std::size_t count_ = 0;
  std::deque<char> text_;
  std::deque<std::uint32_t> ends_;
};

class Parser {
 public:
  explicit Parser(RecordedAnswers& answers) : answers_(answers) {}

  void Line(CaptureLineText& line) {
    line_ = &line;
    number_ = line.Number();
    if (line.Size() > kMostAnswerLineBytes)
      Fail("a line longer than " + std::to_string(kMostAnswerLineBytes >> 20) + " MB");
    if (++lines_ > kMostAnswerLines) Fail("more than " + std::to_string(kMostAnswerLines) + " lines");
    count_ = line.FieldCount();
    head_.clear();
    read_ = 0;
    const std::string kind = Text(0);
    const bool resultLine = kind == "columns" || kind == "row" || kind == "error";
    if (!resultLine) CloseResult();
    if (kind != "row" && kPathKinds.count(kind) == 0 && !(kind == "content" && count_ == 2) &&
        ++others_ > kMostOtherAnswers) {
      Fail("more than " + std::to_string(kMostOtherAnswers) + " answers other than rows and paths");
    }
    if (kPathKinds.count(kind) > 0) {
      Count(2);
      AddPath(kind, ToUpper(Text(1)));
    } else if (kind == "key") {
      Count(3);
      answers_.keyCodes[ToUpper(Text(1))] = Code(2);
    } else if (kind == "value") {
      Count(4);
      answers_.valueCodes[ToUpper(Text(1)) + "\n" + ToUpper(Text(2))] = Code(3);
    } else if (kind == "subkeys") {
      if (count_ < 3 || (Text(2) != "complete" && Text(2) != "partial"))
        Fail("expected subkeys PATH complete|partial NAME...");
      answers_.subkeys[ToUpper(Text(1))] = {Text(2) == "complete", Names()};
    } else if (kind == "content") {
      if (count_ != 2 && count_ != 3) Fail("expected content PATH [SOURCE]");
      const std::string path = ToUpper(Text(1));
      AddPath("content", path);
      if (count_ == 3) {
        const std::string source = Text(2);
        if (ToUpper(source) == path) Fail("a file's contents are its own");
        answers_.contentSources[path] = source;
      }
    } else if (kind == "samelisting") {
      Count(3);
      const std::string path = ToUpper(Text(1));
      const std::string source = ToUpper(Text(2));
      const auto files = answers_.fileOrder.find(source);
      if (!answers_.Has("listed", source) || files == answers_.fileOrder.end())
        Fail("no listing of " + Text(2) + " before");
      AddPath("listed", path);
      answers_.fileOrder[path] = files->second;
      answers_.folderOrder[path] = answers_.folderOrder[source];
    } else if (kind == "listing") {
      if (count_ < 3) Fail("expected listing PATH FILES NAME...");
      const auto files = recording::ParseDecimal(Text(2));
      if (!files || *files > count_ - 3) Fail("bad number of files");
      const std::string path = ToUpper(Text(1));
      AddPath("listed", path);
      answers_.fileOrder[path] = Shared(Names(static_cast<std::size_t>(*files)));
      answers_.folderOrder[path] = Shared(Names());
    } else if (kind == "subfolders") {
      if (count_ < 2) Fail("expected subfolders PATH NAME...");
      const std::string path = ToUpper(Text(1));
      AddPath("subfolders", path);
      if (count_ > 2) answers_.folderOrder[path] = Shared(Names());
    } else if (kind == "order") {
      if (count_ < 3 || (Text(2) != "files" && Text(2) != "folders")) {
        Fail("expected order PATH files|folders NAME...");
      }
      (Text(2) == "files" ? answers_.fileOrder : answers_.folderOrder)[ToUpper(Text(1))] = Shared(Names());
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
  void Forget() { line_ = nullptr; }

 private:
  [[noreturn]] void Fail(const std::string& why) const {
    throw RecordedAnswersError("answers.txt:" + std::to_string(number_) + ": " + why);
  }
  void AddPath(const std::string& kind, const std::string& upperPath) {
    if (upperPath.size() > PathSet::kLongestPath)
      Fail("a path longer than " + std::to_string(PathSet::kLongestPath) + " characters");
    answers_.paths[kind].insert(upperPath);
  }
  void Count(std::size_t fields) const {
    if (count_ != fields) Fail("expected " + std::to_string(fields) + " fields");
  }
  // The first fields of the line are read as they are asked for; a list
  // that follows them is read one field at a time.
  std::string Text(std::size_t index) {
    while (head_.size() <= index && head_.size() < count_) {
      CaptureField field;
      line_->NextField(field);
      head_.push_back(std::move(field));
    }
    if (index >= head_.size() || !head_[index]) Fail("field " + std::to_string(index + 1) + " missing or NULL");
    return *head_[index];
  }
  // The names after the fields read so far (at most `most`).
  NameList Names(std::size_t most = std::string::npos) {
    NameList names;
    for (CaptureField field; names.size() < most && line_->NextField(field);) {
      const std::string number = std::to_string(head_.size() + read_ + 1);
      ++read_;
      if (!field) Fail("field " + number + " missing or NULL");
      // No key or file is without a name: a line of empty fields is no list.
      if (field->empty()) Fail("field " + number + " is an empty name");
      names.Add(*field);
    }
    return names;
  }
  long Code(std::size_t index) {
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
      if (count_ - 1 > kMostColumns) Fail("more than " + std::to_string(kMostColumns) + " columns");
      for (CaptureField field; line_->NextField(field);) {
        if (!field) Fail("field " + std::to_string(columns_.size() + 2) + " missing or NULL");
        columns_.push_back(std::move(*field));
      }
      haveColumns_ = true;
      rows_ = std::make_shared<RecordedRows>(columns_.size());
      return;
    }
    if (!haveColumns_) Fail("row before columns");
    if (count_ != columns_.size() + 1) Fail("row with another number of fields than columns");
    if (rows_->Count() >= kMostRowsPerQuery) Fail("more than " + std::to_string(kMostRowsPerQuery) + " rows");
    if (!rows_->Add(line_->RestOfText())) Fail("rows of more than 4 GB");
  }

  void CloseResult() {
    if (!resultOpen_) return;
    if (haveColumns_) {
      result_->records = platform::RecordSet(std::move(columns_), std::move(rows_));
      rows_.reset();
    } else if (!hasError_ && !serverOpen_) {
      Fail("query without columns or error");
    }
    if (serverOpen_ && !hasError_ && !haveColumns_) answers_.servers.back().openError.reset();
    columns_.clear();
    rows_.reset();
    haveColumns_ = hasError_ = resultOpen_ = serverOpen_ = false;
    result_ = nullptr;
  }

  RecordedAnswers& answers_;
  CaptureLineText* line_ = nullptr;  // the line being read; none once the text is read
  int number_ = 0;                   // its number, which an error at the end of the text names
  std::size_t count_ = 0;
  std::vector<CaptureField> head_;
  std::size_t read_ = 0;  // fields read after the head
  RecordedResult* result_ = nullptr;
  bool resultOpen_ = false, serverOpen_ = false, haveColumns_ = false, hasError_ = false;
  std::vector<std::string> columns_;
  std::shared_ptr<RecordedRows> rows_;
  std::size_t lines_ = 0;   // kept lines read
  std::size_t others_ = 0;  // of them, answers other than rows and paths
};

}  // namespace

bool RecordedAnswers::Has(const std::string& kind, const std::string& upperPath) const {
  const auto found = paths.find(kind);
  return found != paths.end() && found->second.count(upperPath) > 0;
}

RecordedAnswers ParseRecordedAnswers(std::string_view text) {
  RecordedAnswers answers;
  Parser parser(answers);
  recording::ForEachCaptureLine(text, [&](CaptureLineText& line) { parser.Line(line); });
  parser.Forget();
  parser.End();
  return answers;
}

}  // namespace fernwick::image
