// Only here to carry the precompiled Qt headers that the tests reuse.
