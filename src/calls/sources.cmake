# Sources of src/calls (paths relative to src/).
list(APPEND CORE_SOURCES
  calls/CallHandler.cpp
  calls/EndReason.cpp
  calls/ReverseLookup.cpp)
list(APPEND APP_SOURCES
  calls/QtCallClock.cpp
  calls/frmMain.cpp)
list(APPEND APP_SOURCES
  calls/DebugWindow.cpp)
