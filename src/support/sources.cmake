# Sources of src/support (paths relative to src/).
list(APPEND CORE_SOURCES
  support/AppPaths.cpp
  support/CommandLine.cpp
  support/NumericText.cpp
  support/SafeSave.cpp
  support/TextFile.cpp
  support/UserPrompt.cpp
  support/modSound.cpp
  support/modLogging.cpp)
if(WIN32)
  list(APPEND CORE_SOURCES support/platform/FileSync_win.cpp)
else()
  list(APPEND CORE_SOURCES support/platform/FileSync_posix.cpp)
endif()
list(APPEND APP_SOURCES
  support/InstanceLock.cpp
  support/SignalWatcher.cpp
  support/QtWavePlayer.cpp)
if(WIN32)
  list(APPEND APP_SOURCES support/platform/TerminationSignals_win.cpp)
else()
  list(APPEND APP_SOURCES support/platform/TerminationSignals_posix.cpp)
endif()
