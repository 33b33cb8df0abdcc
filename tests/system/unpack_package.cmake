# The package tests' fixture: the build's release package made with cpack, unpacked into an empty
# folder. cmake -DCPACK=<cpack> -DBUILD=<build folder> -DFOLDER=<its folder> -DZIP=<name> -P this
file(REMOVE_RECURSE ${FOLDER})
execute_process(COMMAND ${CPACK} --config ${BUILD}/CPackConfig.cmake -B ${FOLDER}
                COMMAND_ERROR_IS_FATAL ANY)
file(ARCHIVE_EXTRACT INPUT ${FOLDER}/${ZIP} DESTINATION ${FOLDER}/unpacked)
