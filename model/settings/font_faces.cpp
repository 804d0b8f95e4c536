#include "model/settings/font_faces.h"

const std::array<const char*, kFontFaceCount> g_astrFontFace = {
    /*   0 */ "System", "Terminal", "FixedSys", "Roman", "Script", "Modern", "Small Fonts",
              "MS Serif", "WST_Czec", "WST_Engl",
    /*  10 */ "WST_Fren", "WST_Germ", "WST_Ital", "WST_Span", "WST_Swed", "Courier",
              "MS Sans Serif", "Marlett", "Arial", "Arial CE",
    /*  20 */ "Arial CYR", "Arial Greek", "Arial TUR", "Arial Baltic", "Courier New",
              "Courier New CE", "Courier New CYR", "Courier New Greek", "Courier New TUR",
              "Courier New Baltic",
    /*  30 */ "Lucida Console", "Lucida Sans Unicode", "Times New Roman", "Times New Roman CE",
              "Times New Roman CYR", "Times New Roman Greek", "Times New Roman TUR",
              "Times New Roman Baltic", "Wingdings", "Symbol",
    /*  40 */ "Verdana", "Arial Black", "Comic Sans MS", "Impact", "Georgia",
              "Franklin Gothic Medium", "Palatino Linotype", "Tahoma", "Trebuchet MS", "Webdings",
    /*  50 */ "Estrangelo Edessa", "Gautami", "Latha", "Mangal", "MV Boli", "Raavi", "Shruti",
              "Tunga", "Sylfaen", "ＭＳ ゴシック",
    /*  60 */ "ＭＳ Ｐゴシック", "MS UI Gothic", "ＭＳ 明朝", "ＭＳ Ｐ明朝", "Microsoft Sans Serif", "Gulim",
              "GulimChe", "Dotum", "DotumChe", "Batang",
    /*  70 */ "BatangChe", "Gungsuh", "GungsuhChe", "SimSun", "NSimSun", "SimSun-PUA", "SimHei",
              "MingLiU", "PMingLiU", "Arial Narrow",
    /*  80 */ "Book Antiqua", "Bookman Old Style", "Century", "Century Gothic", "Garamond",
              "MS Outlook", "HGｺﾞｼｯｸE", "HGPｺﾞｼｯｸE", "HGSｺﾞｼｯｸE", "HG丸ｺﾞｼｯｸM-PRO",
    /*  90 */ "HG創英角ｺﾞｼｯｸUB", "HGP創英角ｺﾞｼｯｸUB", "HGS創英角ｺﾞｼｯｸUB", "HG創英角ﾎﾟｯﾌﾟ体", "HGP創英角ﾎﾟｯﾌﾟ体",
              "HGS創英角ﾎﾟｯﾌﾟ体", "HG正楷書体-PRO", "InMusicSym", "Kartika", "Vrinda",
    /* 100 */ "メイリオ", "MT Extra", "HGｺﾞｼｯｸM", "HGPｺﾞｼｯｸM", "HGSｺﾞｼｯｸM", "HG行書体", "HGP行書体",
              "HGS行書体", "HG教科書体", "HGP教科書体",
    /* 110 */ "HGS教科書体", "HG明朝B", "HGP明朝B", "HGS明朝B", "HG明朝E", "HGP明朝E", "HGS明朝E", "HG創英ﾌﾟﾚｾﾞﾝｽEB",
              "HGP創英ﾌﾟﾚｾﾞﾝｽEB", "HGS創英ﾌﾟﾚｾﾞﾝｽEB",
    /* 120 */ "OCRB", "Sydnie", "",
};

const std::array<const char*, 3> g_astrColourMode = {
    "256色(8bit) カラーパレットあり",
    "1677万色(24bit) カラーパレットなし",
    "",
};

const char* FontFaceNameAt(int index) {
  if (index < 0 || index >= kFontFaceCount) index = kDefaultFontFace;
  return g_astrFontFace[static_cast<std::size_t>(index)];
}
