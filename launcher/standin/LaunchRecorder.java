import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.nio.file.StandardCopyOption;

/**
 * Stands in for the application in the launcher's tests: records how the
 * launcher started it (working directory, arguments, its process) in the
 * file named by QUILLORY_LAUNCH_RECORD, or launch-record.txt, and exits.
 * With the argument --linger it first waits until the file RECORD.release
 * appears, then writes RECORD.done: it is still running after the launcher
 * has ended.
 */
public final class LaunchRecorder {
    public static void main(String[] args) throws IOException, InterruptedException {
        String target = System.getenv("QUILLORY_LAUNCH_RECORD");
        Path record = Paths.get(target != null ? target : "launch-record.txt").toAbsolutePath();
        StringBuilder out = new StringBuilder();
        out.append("cwd=").append(Paths.get("").toAbsolutePath()).append('\n');
        out.append("d3d=").append(System.getProperty("sun.java2d.d3d")).append('\n');
        out.append("stat=").append(new String(Files.readAllBytes(Paths.get("/proc/self/stat")),
                StandardCharsets.UTF_8).trim()).append('\n');
        boolean linger = false;
        for (String arg : args) {
            out.append("arg=").append(arg).append('\n');
            linger |= arg.equals("--linger");
        }
        Path partial = Paths.get(record + ".partial");
        Files.write(partial, out.toString().getBytes(StandardCharsets.UTF_8));
        Files.move(partial, record, StandardCopyOption.ATOMIC_MOVE);
        if (!linger) return;
        Path release = Paths.get(record + ".release");
        for (int i = 0; i < 600 && !Files.exists(release); ++i) Thread.sleep(100);
        Files.write(Paths.get(record + ".done"), "done\n".getBytes(StandardCharsets.UTF_8));
    }
}
