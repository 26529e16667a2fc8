// Makes the help page Fernwick.htm: the page's template with the list of
// findings, from the same table the report's findings come from, in place
// of the line "<!-- FINDINGS -->". Runs on the build machine for every
// build. Usage: help_page TEMPLATE OUTPUT
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "report/finding_causes.h"
#include "report/finding_fixes.h"
#include "report/findings.h"
#include "report/html_text.h"
#include "report/runtime_errors.h"

namespace {

using fernwick::report::FindingInfo;
using fernwick::report::HtmlText;

constexpr std::string_view kMarker = "<!-- FINDINGS -->";

std::string Html(std::string_view text) {
  return HtmlText(text);
}

// The fix where Windows is not known names every Windows and where the
// 64-bit regedit shows each key; fixes that differ by Windows follow.
std::string Entry(const FindingInfo& info) {
  const std::string severity(fernwick::report::SeverityName(info.severity));
  const std::string name = Html(info.name);
  std::string entry = "<h4 id=\"" + name + "\"><span class=\"sev " + severity + "\">" + severity + "</span> <code>" +
                      name + "</code>: " + Html(info.title) + "</h4>\n<p>In the report: <code>" + Html(info.wording) +
                      "</code></p>\n<p>" + Html(info.meaning) + "</p>\n<p><b>Fix:</b> " +
                      Html(fernwick::report::ForServer(info, {}).fix) + "</p>\n";
  const auto explains = fernwick::report::WhatItExplains(info.id);
  if (!explains.empty()) {
    entry += "<p><b>Explains</b> (listed under it in Summary.htm):";
    for (std::size_t i = 0; i < explains.size(); ++i) entry += std::string(i == 0 ? " " : "; ") + Html(explains[i]);
    entry += ".</p>\n";
  }
  const auto variants = fernwick::report::WindowsVariants(info);
  if (variants.empty()) return entry;
  entry += "<ul>\n";
  for (const auto& variant : variants) {
    entry += "<li><b>" + Html(variant.windows) + "</b> (" +
             std::string(fernwick::report::SeverityName(variant.severity)) + "): " + Html(variant.fix) + "</li>\n";
  }
  return entry + "</ul>\n";
}

// RUNTIME-ERROR by number: the runtime's errors, then the database's.
std::string RuntimeErrors() {
  std::string list =
      "\n<h3 id=\"runtime-errors\">Run-time errors by number</h3>\n<p>A line <code>(error):N (text) in procedure "
      "GetSystemInfo of Form frmMain</code> is the finding <a href=\"#RUNTIME-ERROR\"><code>RUNTIME-ERROR</code></a>. "
      "Its number tells what failed. A text in square brackets is the database driver's, and its number the "
      "database's own; the others are the runtime's.</p>\n";
  for (const auto& error : fernwick::report::AllRuntimeErrors()) {
    const std::string anchor = fernwick::report::RuntimeErrorAnchor(error);
    list += "<h4 id=\"" + anchor + "\"><code>" + std::string(error.database ? "database error " : "error ") +
            std::to_string(error.number) + "</code>: " + Html(fernwick::report::RuntimeErrorDescription(error)) +
            "</h4>\n<p>In the report: <code>" + Html(fernwick::report::RuntimeErrorWording(error)) +
            "</code></p>\n<p>" + Html(error.meaning) + "</p>\n<p><b>Fix:</b> " + Html(error.fix) + "</p>\n";
  }
  return list;
}

std::string FindingsList() {
  std::string list = "<table summary=\"Every finding\">\n<tr><th>Id</th><th>Severity</th><th>Finding</th></tr>\n";
  for (const FindingInfo& info : fernwick::report::AllFindings()) {
    list += "<tr><td><a href=\"#" + Html(info.name) + "\"><code>" + Html(info.name) + "</code></a></td><td>" +
            std::string(fernwick::report::SeverityName(info.severity)) + "</td><td>" + Html(info.title) +
            "</td></tr>\n";
  }
  list += "</table>\n";
  std::string_view section;
  for (const FindingInfo& info : fernwick::report::AllFindings()) {
    if (info.section != section) {
      section = info.section;
      list += "\n<h3>" + Html(section) + "</h3>\n";
    }
    list += Entry(info);
  }
  return list + RuntimeErrors();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("Usage: help_page TEMPLATE OUTPUT\n", stderr);
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  std::string page = text.str();
  const auto at = page.find(kMarker);
  if (!in || at == std::string::npos) {
    std::fprintf(stderr, "help_page: %s has no %s line\n", argv[1], std::string(kMarker).c_str());
    return 1;
  }
  page.replace(at, kMarker.size(), FindingsList());
  std::ofstream out(argv[2], std::ios::binary);
  out << page;
  out.close();
  if (!out) {
    std::fprintf(stderr, "help_page: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
