# Sources of src/stores (paths relative to src/).
list(APPEND CORE_SOURCES
  stores/IniFile.cpp
  stores/Settings.cpp
  stores/cLanguage.cpp)
list(APPEND APP_SOURCES
  stores/frmSetLang.cpp)
list(APPEND CORE_SOURCES
  stores/ListFile.cpp
  stores/cJournal.cpp
  stores/cPhonebook.cpp
  stores/cMSN.cpp
  stores/cVorwahlen.cpp
  stores/OriginQuery.cpp)
