package lexicortest;

import com.corvantis.quillory.database.Word;

/**
 * Nanoseconds per call of _calcNbSyllables and _calcDifficulty on typical
 * German words, beside the floor: a native call that only gets and releases
 * the characters. Arguments: [calls] (default 3000000).
 */
public final class LexicorBench {
    private static final String[] WORDS = {
        "Schule", "Straße", "Wasser", "Tomatensalat", "fahren", "Häuser", "Eier", "Haus",
        "Bananenplantage", "Fahrrad", "Übung", "Kinder", "Schokolade", "Apfel", "Zeitung",
        "spielen"};

    interface Call {
        int run(String word);
    }

    private static volatile int sink;

    private static double nanosPerCall(Call call, int calls) {
        int sum = 0;
        long start = System.nanoTime();
        for (int i = 0; i < calls; i++) {
            sum += call.run(WORDS[i % WORDS.length]);
        }
        long elapsed = System.nanoTime() - start;
        sink = sum;
        return (double) elapsed / calls;
    }

    public static void main(String[] args) {
        int calls = args.length > 0 ? Integer.parseInt(args[0]) : 3_000_000;
        Word._nativeInit(3, "media");
        Call syllables = Word::_calcNbSyllables;
        Call difficulty = Word::_calcDifficulty;
        Call floor = Floor::touch;

        // Warm-up: let the JIT compile the loops and the native stubs.
        for (int round = 0; round < 3; round++) {
            nanosPerCall(syllables, 200_000);
            nanosPerCall(difficulty, 200_000);
            nanosPerCall(floor, 200_000);
        }

        double floorNanos = nanosPerCall(floor, calls);
        double syllableNanos = nanosPerCall(syllables, calls);
        double difficultyNanos = nanosPerCall(difficulty, calls);
        System.out.printf("%-18s %8s %8s%n", "call", "ns/call", "x floor");
        System.out.printf("%-18s %8.1f %8.2f%n", "floor", floorNanos, 1.0);
        System.out.printf("%-18s %8.1f %8.2f%n", "_calcNbSyllables", syllableNanos,
                          syllableNanos / floorNanos);
        System.out.printf("%-18s %8.1f %8.2f%n", "_calcDifficulty", difficultyNanos,
                          difficultyNanos / floorNanos);
        System.out.printf("(%d calls each, checksum %d)%n", calls, sink);
    }
}
