# Sources of src/calls (paths relative to src/).
list(APPEND APP_SOURCES
  calls/frmMain.cpp)
list(APPEND APP_SOURCES
  calls/DebugWindow.cpp)
