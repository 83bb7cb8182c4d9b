#pragma once

// From now on SIGTERM, SIGINT and SIGHUP end the program at once with status
// 0. A screen-saver host ends its saver with one of these and may wait for it
// to be gone; the saver holds nothing that needs saving, so it leaves at once
// even in the middle of decoding a picture.
void EndAtOnceOnTerminationSignals();
