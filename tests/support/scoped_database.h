// Gives a test the default database with its derived tables built, and puts
// the defaults back when the test ends, so that what one test adds to
// g_Database never reaches another. After changing g_Database, a test calls
// Rebuild() to derive the tables again.
#pragma once

#include "game/data/database_tables.h"
#include "model/database/database.h"

class ScopedDatabase {
 public:
  ScopedDatabase() {
    g_nDataVersion = DATA_VERSION;
    Reset();
  }
  ~ScopedDatabase() { Reset(); }
  ScopedDatabase(const ScopedDatabase&) = delete;
  ScopedDatabase& operator=(const ScopedDatabase&) = delete;

  void Rebuild() { BuildDatabaseTables(); }

 private:
  static void Reset() {
    g_Database.SetDefaults();
    BuildDatabaseTables();
  }
};
