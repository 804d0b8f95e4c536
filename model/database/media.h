// Pictures (Picture.dat), sounds (Sound.dat) and music (Bgm.dat) of the
// database: a name for the editor and a file path used as stored (relative
// to the project folder). Entry 0 of each list is the "none" entry.
//
// All three are stored alike: from version 151 one int32 that play never
// reads (0 for files before version 153), then the name and the file.
#pragma once

#include <cstdint>
#include <string>

#include "model/database/stored_int.h"
#include "model/record/record.h"

template <class Derived>
class cEdMediaRecord : public cEdRecordOf<Derived> {
 public:
  void DeclareFields(int nVersion) override {
    this->ClearTables();
    this->AddString(m_strName, "m_strName");
    if (nVersion >= 151) this->AddField(m_nStoredInt, 1, "m_nStoredInt");
    this->AddString(m_strFile, "m_strFile");
  }

  bool Load(cDataReader& f) override {
    if (!cEdRecord::Load(f)) return false;
    ResetOldStoredInt(m_nStoredInt);
    return true;
  }

  std::string m_strName;
  std::int32_t m_nStoredInt = 0;
  std::string m_strFile;
};

class cEdPicture : public cEdMediaRecord<cEdPicture> {};
class cEdSound : public cEdMediaRecord<cEdSound> {};
class cEdBgm : public cEdMediaRecord<cEdBgm> {};
