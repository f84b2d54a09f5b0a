# pikotel_install_replacing(FILES <file>... DESTINATION <dir> COMPONENT <name>)
#
# Installs files a running program keeps memory-mapped, such as the dictionaries: each one is
# copied beside its destination and renamed over it. A program still running keeps the old
# file (its inode) until it notices the change; a plain install(FILES) would rewrite the file
# in place, under the program's mapping.
function(pikotel_install_replacing)
  cmake_parse_arguments(I "" "DESTINATION;COMPONENT" "FILES" ${ARGN})
  foreach(file IN LISTS I_FILES)
    get_filename_component(name ${file} NAME)
    install(CODE "
      set(dir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${I_DESTINATION}\")
      message(STATUS \"Installing (replacing): \${dir}/${name}\")
      file(MAKE_DIRECTORY \"\${dir}\")
      file(COPY_FILE \"${file}\" \"\${dir}/.${name}.new\")
      file(RENAME \"\${dir}/.${name}.new\" \"\${dir}/${name}\")
      list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${dir}/${name}\")"
      COMPONENT ${I_COMPONENT})
  endforeach()
endfunction()
