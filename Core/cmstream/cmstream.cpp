// Streams over stand-alone files and munge archive members.
