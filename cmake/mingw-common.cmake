# Shared by both MinGW-w64 toolchains. The win32 thread model: its run time
# uses only Win32 calls that Windows XP has, where the posix model's thread
# library (winpthreads) imports newer ones (GetTickCount64). It has no
# std::thread, std::mutex or std::condition_variable: threads start through
# the framework (AfxBeginThread), locks are the framework's afxmt.h.
set(CMAKE_C_COMPILER   ${TOOLHOST_TRIPLE}-gcc-win32)
set(CMAKE_CXX_COMPILER ${TOOLHOST_TRIPLE}-g++-win32)
set(CMAKE_RC_COMPILER  ${TOOLHOST_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TOOLHOST_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
