#pragma once
// The facts of a server image folder for a comparison: its registry
// exports, the files of its drives and those its listings name, file dates
// and versions, the database answers of a capture and the programs' output.
#include <filesystem>

#include "comparison/image_facts.h"

namespace fernwick::native {

comparison::ImageFacts ReadImageFacts(const std::filesystem::path& image);

}  // namespace fernwick::native
