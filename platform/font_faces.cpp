#include "platform/font_faces.h"

#include <fontconfig/fontconfig.h>

#include <mutex>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include "platform/text.h"

namespace platform {

namespace {

// Pattern property set by the alias configuration for the faces whose cell
// is one em.
constexpr const char* kEmCellProperty = "playeremcell";

struct FaceAlias {
  std::u8string_view windowsFace;
  std::u8string_view family;
  bool emCell;
};

// The Windows faces of the projects' font table that have Japanese stand-ins.
// Meiryo is a proportional gothic with tall line spacing, not a one-em cell.
constexpr FaceAlias kFaceAliases[] = {
    {u8"ＭＳ ゴシック", u8"IPAGothic", true},
    {u8"HGｺﾞｼｯｸE", u8"IPAGothic", true},
    {u8"HGｺﾞｼｯｸM", u8"IPAGothic", true},
    {u8"HG丸ｺﾞｼｯｸM-PRO", u8"IPAGothic", true},
    {u8"HG創英角ｺﾞｼｯｸUB", u8"IPAGothic", true},
    {u8"ＭＳ Ｐゴシック", u8"IPAPGothic", true},
    {u8"MS UI Gothic", u8"IPAPGothic", true},
    {u8"メイリオ", u8"IPAPGothic", false},
    {u8"HGPｺﾞｼｯｸE", u8"IPAPGothic", true},
    {u8"HGSｺﾞｼｯｸE", u8"IPAPGothic", true},
    {u8"HGPｺﾞｼｯｸM", u8"IPAPGothic", true},
    {u8"HGSｺﾞｼｯｸM", u8"IPAPGothic", true},
    {u8"HGP創英角ｺﾞｼｯｸUB", u8"IPAPGothic", true},
    {u8"HGS創英角ｺﾞｼｯｸUB", u8"IPAPGothic", true},
    {u8"ＭＳ 明朝", u8"IPAMincho", true},
    {u8"HG明朝B", u8"IPAMincho", true},
    {u8"HG明朝E", u8"IPAMincho", true},
    {u8"ＭＳ Ｐ明朝", u8"IPAPMincho", true},
    {u8"HGP明朝B", u8"IPAPMincho", true},
    {u8"HGS明朝B", u8"IPAPMincho", true},
    {u8"HGP明朝E", u8"IPAPMincho", true},
    {u8"HGS明朝E", u8"IPAPMincho", true},
};

std::string Narrow(std::u8string_view text) { return {text.begin(), text.end()}; }

// The system configuration with the player's aliases loaded over it, made
// once per process.
FcConfig* PlayerConfig() {
  static FcConfig* const config = [] {
#if defined(__SANITIZE_ADDRESS__)
    // fontconfig 2.14 loses a buffer once while it parses the system's
    // configuration; the configuration itself lives as long as the process.
    __lsan::ScopedDisabler knownLeak;
#endif
    FcConfig* loaded = FcInitLoadConfigAndFonts();
    if (loaded != nullptr) {
      const std::string xml = FaceAliasConfiguration();
      FcConfigParseAndLoadFromMemory(loaded, reinterpret_cast<const FcChar8*>(xml.c_str()), FcTrue);
    }
    return loaded;
  }();
  return config;
}

// fontconfig objects are not safe to use from several threads at once.
std::mutex& FontconfigMutex() {
  static std::mutex mutex;
  return mutex;
}

ResolvedFace Resolve(const std::string& familyUtf8) {
  std::lock_guard lock(FontconfigMutex());
  ResolvedFace resolved;
  FcConfig* config = PlayerConfig();
  if (config == nullptr) return resolved;
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(familyUtf8.c_str()));
  FcLangSet* languages = FcLangSetCreate();
  FcLangSetAdd(languages, reinterpret_cast<const FcChar8*>("ja"));
  FcPatternAddLangSet(pattern, FC_LANG, languages);
  FcLangSetDestroy(languages);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcBool emCell = FcFalse;
  if (FcPatternGetBool(pattern, kEmCellProperty, 0, &emCell) == FcResultMatch) {
    resolved.emCell = emCell != FcFalse;
  }
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(config, pattern, &result);
  if (match != nullptr) {
    FcChar8* file = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
      resolved.file = reinterpret_cast<const char*>(file);
    }
    FcPatternGetInteger(match, FC_INDEX, 0, &resolved.index);
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pattern);
  return resolved;
}

void AppendEscaped(std::string& xml, std::string_view text) {
  for (char c : text) {
    switch (c) {
      case '&': xml += "&amp;"; break;
      case '<': xml += "&lt;"; break;
      case '>': xml += "&gt;"; break;
      default: xml += c;
    }
  }
}

}  // namespace

std::string FaceAliasConfiguration() {
  std::string xml =
      "<?xml version=\"1.0\"?>\n"
      "<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n"
      "<fontconfig>\n";
  for (const FaceAlias& alias : kFaceAliases) {
    xml += "  <match target=\"pattern\">\n    <test qual=\"first\" name=\"family\"><string>";
    AppendEscaped(xml, Narrow(alias.windowsFace));
    xml += "</string></test>\n    <edit name=\"family\" mode=\"prepend_first\" binding=\"strong\"><string>";
    AppendEscaped(xml, Narrow(alias.family));
    xml += "</string></edit>\n";
    if (alias.emCell) {
      xml += "    <edit name=\"";
      xml += kEmCellProperty;
      xml += "\" mode=\"assign\"><bool>true</bool></edit>\n";
    }
    xml += "  </match>\n";
  }
  xml += "</fontconfig>\n";
  return xml;
}

ResolvedFace ResolveFace(std::string_view faceCp932) { return Resolve(Cp932ToUtf8(faceCp932)); }

ResolvedFace FallbackFace() {
  ResolvedFace face = Resolve("IPAGothic");
  face.emCell = false;
  return face;
}

}  // namespace platform
