#pragma once
// CFileVersionInfo: the version resource of one file (fixed block and string
// table) as read-only text properties. Assign FullPathName to read a file;
// the object may be reused for another file by assigning again.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/version_resources.h"

namespace fernwick {

class CFileVersionInfo {
 public:
  CFileVersionInfo(platform::VersionResources& versions, platform::FileSystem& files);

  // Expands the path to an absolute one and rereads; a path that cannot be
  // expanded changes nothing.
  void FullPathName(std::string_view path);
  const std::string& FullPathName() const { return fullPathName_; }
  bool Available() const { return available_; }

  const std::string& FileFlags() const { return fileFlags_; }
  const std::string& FileOS() const { return fileOS_; }
  const std::string& FileType() const { return fileType_; }
  const std::string& FileSubType() const { return fileSubType_; }
  const std::string& VerFile() const { return verFile_; }
  const std::string& VerProduct() const { return verProduct_; }
  const std::string& VerStructure() const { return verStructure_; }

  // Label and value of one of the 15 predefined entries (0 to 14); empty
  // for any other index.
  std::string PredefinedName(std::int32_t which) const;
  std::string PredefinedValue(std::int32_t which) const;

  const std::string& Comments() const { return values_[kComments]; }
  const std::string& CompanyName() const { return values_[kCompanyName]; }
  const std::string& FileDescription() const { return values_[kFileDescription]; }
  const std::string& FileVersion() const { return values_[kFileVersion]; }
  const std::string& InternalName() const { return values_[kInternalName]; }
  const std::string& Language() const { return values_[kLanguage]; }
  const std::string& LegalCopyright() const { return values_[kLegalCopyright]; }
  const std::string& LegalTrademarks() const { return values_[kLegalTrademarks]; }
  const std::string& OriginalFilename() const { return values_[kOriginalFilename]; }
  const std::string& ProductName() const { return values_[kProductName]; }
  const std::string& ProductVersion() const { return values_[kProductVersion]; }
  const std::string& PrivateBuild() const { return values_[kPrivateBuild]; }
  const std::string& SpecialBuild() const { return values_[kSpecialBuild]; }

  // Rereads everything from the file named by FullPathName.
  void Refresh();

 private:
  enum Index : std::size_t {
    kLanguage,
    kComments,
    kCompanyName,
    kFileDescription,
    kFileVersion,
    kInternalName,
    kLegalCopyright,
    kLegalTrademarks,
    kOriginalFilename,
    kProductName,
    kProductVersion,
    kPrivateBuild,
    kSpecialBuild,
    kLegalTrademarks1,
    kLegalTrademarks2,
    kValueCount
  };

  void ReadFixedBlock(const platform::FixedFileInfo& fixed);
  void ReadStringTable(const platform::VersionBlock& block, std::uint32_t translation);

  platform::VersionResources& versions_;
  platform::FileSystem& files_;

  std::string fullPathName_;
  bool available_ = false;
  std::string verStructure_;
  std::string verFile_;
  std::string verProduct_;
  std::string fileFlags_;
  std::string fileOS_;
  std::string fileType_;
  std::string fileSubType_;
  std::array<std::string, kValueCount> values_;
};

}  // namespace fernwick
