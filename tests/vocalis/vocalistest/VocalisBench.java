package vocalistest;

import com.corvantis.utilities.QzAudioPlayer;

/**
 * The cost of internalPlay beyond the clip itself: wall time minus the
 * clip's duration, opening and closing the sound device included.
 * Arguments: the media directory, the clip's PCM size in bytes, rounds.
 */
public final class VocalisBench {
    public static void main(String[] args) {
        String media = args[0];
        long durationMs = Long.parseLong(args[1]) * 1000L / 176400L;
        int rounds = args.length > 2 ? Integer.parseInt(args[2]) : 10;
        QzAudioPlayer player = new QzAudioPlayer();
        player._nativeInit(4, media);
        player.internalPlay("w1234a", "de_de");  // loads the library once
        double total = 0;
        double worst = 0;
        for (int round = 0; round < rounds; round++) {
            long start = System.nanoTime();
            player.internalPlay("w1234a", "de_de");
            double overhead = (System.nanoTime() - start) / 1e6 - durationMs;
            total += overhead;
            worst = Math.max(worst, overhead);
        }
        System.out.printf("internalPlay of a %d ms clip, %d rounds: overhead %.1f ms on average,"
                          + " %.1f ms at most (aim: at most 30 ms)%n",
                          durationMs, rounds, total / rounds, worst);
    }
}
