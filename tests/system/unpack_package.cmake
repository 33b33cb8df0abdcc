# The package tests' fixture: the build's release package, made as scripts/package makes it,
# unpacked into an empty folder.
#   cmake -DPACKAGE_ZIP=<package_zip.py> -DBUILD=<build folder> -DFOLDER=<its folder>
#         -DNAME=<name> -P this
file(REMOVE_RECURSE ${FOLDER})
file(MAKE_DIRECTORY ${FOLDER})
execute_process(COMMAND python3 ${PACKAGE_ZIP} ${BUILD} ${FOLDER} ${NAME}
                COMMAND_ERROR_IS_FATAL ANY)
file(ARCHIVE_EXTRACT INPUT ${FOLDER}/${NAME}.zip DESTINATION ${FOLDER}/unpacked)
