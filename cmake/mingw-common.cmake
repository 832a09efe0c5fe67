# Shared by both MinGW-w64 toolchains. The posix thread model is required:
# the win32 variants lack std::thread and std::mutex.
set(CMAKE_C_COMPILER   ${TOOLHOST_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOOLHOST_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${TOOLHOST_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TOOLHOST_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
