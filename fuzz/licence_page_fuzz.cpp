// The licence page as the server sends it, through GetLicenseData with the
// native XML parser. Beyond not crashing: the five flags are always listed,
// no key is listed twice, and the page gives the same list whether it
// arrives in one-byte blocks or in whole ones; and the page a capture keeps
// in its stead (only the elements read) gives the same list. Gathering from
// the page holds at most four times the page and the fixed amount an answer
// of at most 65,536 nodes takes (licence_page.options lets inputs be large).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>

#include "fuzz/fuzz_check.h"
#include "platform/image/image_xml.h"
#include "platform/recording/xml_page_answers.h"
#include "probes/license_data.h"

namespace {

class OnePage : public fernwick::platform::Internet {
 public:
  OnePage(std::string body, std::size_t block) : body_(std::move(body)), block_(block) {}
  std::unique_ptr<fernwick::platform::InternetUrl> OpenUrl(const std::string&, std::uint32_t, const std::string&,
                                                           std::uint32_t, std::uint32_t&) override {
    return std::make_unique<Body>(body_, block_);
  }

 private:
  class Body : public fernwick::platform::InternetUrl {
   public:
    Body(std::string text, std::size_t block) : text_(std::move(text)), block_(block) {}
    std::optional<std::string> Read(std::size_t maxBytes) override {
      std::string part = text_.substr(position_, std::min(maxBytes, block_));
      position_ += part.size();
      return part;
    }
    std::uint32_t LastError() const override { return 0; }

   private:
    std::string text_;
    std::size_t block_;
    std::size_t position_ = 0;
  };
  std::string body_;
  std::size_t block_;
};

// What a capture keeps of the page, as the recorder finds it.
std::string Kept(const std::string& page) {
  fernwick::image::ImageXmlParser xml;
  const std::string text = fernwick::probes::StripLeadingWhitespace(page);
  const auto document = xml.Load(text);
  std::vector<fernwick::recording::XmlAnswer> answers;
  for (const char* path : {"TlXmlLicData/Licenses", "TlXmlLicData/Utilization"}) {
    if (document) answers.push_back({path, document->ChildNodesOf(path)});
  }
  return fernwick::recording::KeptXmlPage(xml, page, document != nullptr, answers);
}

fernwick::probes::LicenseData Gather(const std::string& page, std::size_t block) {
  OnePage internet(page, block);
  fernwick::image::ImageXmlParser xml;
  return fernwick::probes::GetLicenseData(internet, xml, "VOXTRA01");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string page(reinterpret_cast<const char*>(data), size);
  fernwick::probes::LicenseData whole;
  fernwick::fuzz::HoldsAtMost(size, 4, 16LL << 20, [&] { whole = Gather(page, 1000); });
  std::set<std::string> keys;
  for (const auto& [key, value] : whole.Entries()) {
    if (!keys.insert(key).second) std::abort();
  }
  for (const char* flag : fernwick::probes::kLicenseFlags) {
    if (keys.count(flag) == 0) std::abort();
  }
  if (size < 4096 && Gather(page, 1).Entries() != whole.Entries()) std::abort();
  const auto kept = Gather(Kept(page), 1000);
  if (kept.Entries() != whole.Entries() || kept.PageRead() != whole.PageRead()) std::abort();
  return 0;
}
