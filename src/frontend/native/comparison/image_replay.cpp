#include "frontend/native/comparison/image_replay.h"

#include <new>

#include "frontend/native/cabinet_image/captured_switches.h"
#include "frontend/native/headless_view.h"
#include "frontend/native/packaging_programs/packaging_programs.h"
#include "platform/image/not_captured.h"
#include "platform/image/server_image.h"
#include "shell/main_presenter.h"

namespace fernwick::native {
namespace {

ImageReplay Gather(const std::filesystem::path& image, const std::filesystem::path& out) {
  std::string commandLine = "fernwick";
  if (const auto switches = CapturedSwitches(image); switches && !switches->empty()) commandLine += " " + *switches;
  std::filesystem::create_directories(out);
  image::ServerImage server(image, out, commandLine);
  AddPackagingPrograms(server);
  HeadlessView view;
  shell::MainPresenter presenter(server.Platform(), view);
  const auto startup = presenter.FormLoad();
  if (startup == shell::StartupOutcome::EndProgram) return {std::nullopt, "the product is too old to examine"};
  if (startup != shell::StartupOutcome::ShowWindow) return {std::nullopt, presenter.StartupError()};
  if (presenter.GoClick() == shell::GoOutcome::EndProgram || presenter.State() != shell::MainState::Finished) {
    return {std::nullopt, "the product is too old to examine"};
  }
  return {presenter.Buffer(), {}};
}

}  // namespace

ImageReplay ReplayImage(const std::filesystem::path& image, const std::filesystem::path& out) {
  try {
    return Gather(image, out);
  } catch (const image::NotCaptured& e) {
    return {std::nullopt, "not captured: " + e.Question()};
  } catch (const std::bad_alloc&) {
    return {std::nullopt, "out of memory"};
  } catch (const std::exception& e) {
    return {std::nullopt, e.what()};
  }
}

}  // namespace fernwick::native
