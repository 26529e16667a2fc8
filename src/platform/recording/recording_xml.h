#pragma once
// Pages loaded as XML, recorded: which captured page was loaded and each
// question asked of it, so that a capture keeps only the elements read.
#include "platform/recording/capture.h"
#include "platform/xml.h"

namespace fernwick::recording {

class RecordingXml : public platform::XmlParser {
 public:
  RecordingXml(platform::XmlParser& real, Capture& capture) : real_(real), capture_(capture) {}
  std::unique_ptr<platform::XmlDocument> Load(const std::string& text) override;

 private:
  platform::XmlParser& real_;
  Capture& capture_;
};

}  // namespace fernwick::recording
