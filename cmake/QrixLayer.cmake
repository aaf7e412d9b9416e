# One library per folder of src/, so that the build keeps the folders in their layers. Each
# library's include root (in the build tree) holds links to its own headers only, under the
# folder's name: "program/transport.h" is found by the program's library and by those that link
# it, and by nothing else. An include upwards, or into a folder not linked, does not compile.
#
#   qrix_layer(<target> <folder> [FILES <name>...] [PUBLIC <deps>...] [PRIVATE <deps>...])
#
# <folder> is relative to src/ and may be a subfolder ("runtime/qt"). Without FILES the library
# is every .cpp and .h directly in the folder (not its subfolders, and not a program's
# main.cpp); with FILES it is <name>.cpp and <name>.h of those names that exist. Link PUBLIC
# the libraries whose headers this folder's headers include, PRIVATE the rest.
function(qrix_layer target folder)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "FILES;PUBLIC;PRIVATE")
  set(dir ${PROJECT_SOURCE_DIR}/src/${folder})
  if(arg_FILES)
    set(sources "")
    set(headers "")
    foreach(name IN LISTS arg_FILES)
      if(EXISTS ${dir}/${name}.cpp)
        list(APPEND sources ${dir}/${name}.cpp)
      endif()
      if(EXISTS ${dir}/${name}.h)
        list(APPEND headers ${dir}/${name}.h)
      endif()
    endforeach()
  else()
    file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
    file(GLOB headers CONFIGURE_DEPENDS ${dir}/*.h)
    list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  endif()
  set(root ${CMAKE_BINARY_DIR}/include_roots/${target})
  file(REMOVE_RECURSE ${root})
  file(MAKE_DIRECTORY ${root}/${folder})
  foreach(header IN LISTS headers)
    get_filename_component(name ${header} NAME)
    file(CREATE_LINK ${header} ${root}/${folder}/${name} SYMBOLIC COPY_ON_ERROR)
  endforeach()
  add_library(${target} STATIC ${sources} ${headers})
  target_include_directories(${target} PUBLIC ${root})
  target_compile_features(${target} PUBLIC cxx_std_20)
  target_link_libraries(${target} PUBLIC ${arg_PUBLIC} PRIVATE ${arg_PRIVATE})
endfunction()
