// A module that only carries resources.
