# cmake -DZIP=... -DINTO=... -P unpack.cmake: a fresh folder holding the
# zip's contents, and a fresh Wine prefix beside it.
file(REMOVE_RECURSE ${INTO})
file(MAKE_DIRECTORY ${INTO})
file(ARCHIVE_EXTRACT INPUT ${ZIP} DESTINATION ${INTO})
get_filename_component(build ${INTO} DIRECTORY)
file(REMOVE_RECURSE ${build}/fresh-prefix)
