# Copies the data folder beside the executables (cmake -DSRC=... -DDST=... -P).
# pelm.ini is the default settings file: it is copied only when the destination
# has none, because there it becomes the user's own settings, which a build
# must never overwrite. Every other file is refreshed when it changed.
file(GLOB_RECURSE files RELATIVE "${SRC}" "${SRC}/*")
foreach(f IN LISTS files)
  if(f STREQUAL "pelm.ini")
    if(NOT EXISTS "${DST}/pelm.ini")
      file(COPY_FILE "${SRC}/${f}" "${DST}/${f}")
    endif()
  else()
    get_filename_component(dir "${DST}/${f}" DIRECTORY)
    file(MAKE_DIRECTORY "${dir}")
    file(COPY_FILE "${SRC}/${f}" "${DST}/${f}" ONLY_IF_DIFFERENT)
  endif()
endforeach()
