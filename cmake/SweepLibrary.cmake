# One static library per source folder; the folder's owner adds files without touching CMake.
function(sweep_folder_library name)
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    list(FILTER sources EXCLUDE REGEX "/main_[a-z]+\\.cpp$")
    list(FILTER sources EXCLUDE REGEX "_fuzz\\.cpp$")
    add_library(${name} STATIC ${sources} ${headers} ${CMAKE_CURRENT_SOURCE_DIR}/../empty.cpp)
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
endfunction()
