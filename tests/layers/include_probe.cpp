// Compiled by the layer tests with one layer's include path: including a
// header of a higher layer must fail, a header of the layer itself must not.
#include VEK_PROBE_HEADER
